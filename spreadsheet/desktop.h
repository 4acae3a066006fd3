#pragma once

#include "spreadsheet/application.h"
#include "spreadsheet/desktop_opener.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace spreadsheet {

// Where the desktop's spreadsheet application puts its workbooks and how it shows them. The
// program uses the user's: a folder of the program in his documents folder, and the desktop's
// program for .xlsx files. Tests give a folder of their own and an opener that opens nothing.
struct Desktop {
    QString folder;
    // Shows a written workbook, and tells `outcome` whether it could, now or later.
    std::function<void(const QString& path, OpenOutcome outcome)> open;

    static Desktop user();
};

// The spreadsheet application of the desktop: it keeps its workbooks in memory and, when it is
// made visible, writes each new one to a fresh .xlsx file in the desktop's folder (never over an
// earlier export) and opens it. Like a spreadsheet program, it starts whatever the state of the
// folder: the folder is made and written only when a workbook goes to its file. A folder or a file
// that cannot be written throws Error naming it with the system's reason, and no file is left
// behind. When no program can show a workbook, or the program fails to, the user is told where
// the file is, whenever the desktop knows it.
class DesktopApplication : public Application {
public:
    explicit DesktopApplication(Desktop desktop);

    // Workbooks already shown are let go: they are in their files.
    void addWorkbook() override;

    // The files this application has written, in order.
    const QStringList& writtenFiles() const { return written_; }

protected:
    void show(Workbook& workbook) override;

private:
    void makeFolder() const;
    QString reserveFreshPath() const;
    void showFile(const QString& path);
    static void tellWhereItIs(const QString& path);

    Desktop desktop_;
    QStringList written_;
};

// One desktop application per launcher, started at the first use and kept for the run: attach()
// finds it again once it has been started; start() fails only for a desktop without a folder.
class DesktopLauncher : public Launcher {
public:
    // `desktop` is asked each time an application is started.
    explicit DesktopLauncher(std::function<Desktop()> desktop);

    std::shared_ptr<Application> attach() override;
    std::shared_ptr<Application> start() override;

private:
    std::function<Desktop()> desktop_;
    std::shared_ptr<DesktopApplication> running_;
};

}  // namespace spreadsheet
