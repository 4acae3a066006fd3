#pragma once

#include "spreadsheet/application.h"

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
    // Shows a written workbook; false when no program could show it.
    std::function<bool(const QString& path)> open;

    static Desktop user();
};

// The spreadsheet application of the desktop: it keeps its workbooks in memory and, when it is
// made visible, writes each new one to a fresh .xlsx file in the desktop's folder (never over an
// earlier export) and opens it. A file that cannot be written throws Error with the reason; a file
// that no program can show is named to the user in a message.
class DesktopApplication : public Application {
public:
    explicit DesktopApplication(Desktop desktop);

    // Throws Error when the folder is missing and cannot be made, or cannot be written to.
    // Workbooks already shown are let go: they are in their files.
    void addWorkbook() override;

    // Whether the workbooks can go to the folder now; makes it when it is missing.
    bool folderUsable() const;

    // The files this application has written, in order.
    const QStringList& writtenFiles() const { return written_; }

protected:
    void show(Workbook& workbook) override;

private:
    QString reserveFreshPath() const;
    static void tellWhereItIs(const QString& path);

    Desktop desktop_;
    QStringList written_;
};

// One desktop application per launcher, started at the first use and kept for the run: attach()
// finds it again as long as its folder is usable; start() fails when the folder is not.
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
