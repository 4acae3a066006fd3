#pragma once

#include "spreadsheet/desktop_opener.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

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

    QStringList opened;         // every path shown, in order
    bool openSucceeds = true;   // false: no program could show the file
    bool answersLater = false;  // the outcome of each opening waits for answerPending()

    // Tells the openings still waiting, oldest first, as an opener that ends after the export.
    void answerPending(bool shown);

    // The .xlsx files in the folder, oldest name first.
    QStringList files() const;

private:
    QTemporaryDir root_;
    std::vector<spreadsheet::OpenOutcome> pending_;
};

}  // namespace testing_support
