#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testing_support {

// The program's spreadsheet workbooks go to a folder of this test, and "opening" one only records
// it: nothing is shown. Both program writers start afresh, as at the start of a run; the user's
// desktop comes back when the object goes.
class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop();

    QString folder() const { return root_.filePath(QStringLiteral("Табель")); }
    QString rootPath() const { return root_.path(); }

    QStringList opened;       // every path shown, in order
    bool openSucceeds = true;  // false: no program could show the file

    // The .xlsx files in the folder, oldest name first.
    QStringList files() const;

private:
    QTemporaryDir root_;
};

}  // namespace testing_support
