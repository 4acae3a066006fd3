#include "spreadsheet/desktop.h"

#include "spreadsheet/xlsx_file.h"
#include "ui/dialogs.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace spreadsheet {
namespace {

const QString programFolder = QStringLiteral("Табель");

}  // namespace

Desktop Desktop::user() {
    Desktop desktop;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath() + QStringLiteral("/Documents");
    desktop.folder = documents + u'/' + programFolder;
    desktop.open = openWithDesktopProgram;
    return desktop;
}

DesktopApplication::DesktopApplication(Desktop desktop) : desktop_(std::move(desktop)) {}

void DesktopApplication::addWorkbook() {
    // A workbook shown is in its file now, and no call can reach it once another is added: the
    // application kept for the run does not keep every export's cells too.
    std::erase_if(workbooks_, [](const std::unique_ptr<Workbook>& book) { return book->shown(); });
    Application::addWorkbook();
}

// Makes the folder and the folders above it that are missing; the system's words say why not.
void DesktopApplication::makeFolder() const {
    if (desktop_.folder.isEmpty()) throw Error(QStringLiteral("папка не задана"));
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(desktop_.folder).toStdString(), error);
    if (error) throw Error(QString::fromLocal8Bit(error.message()));
    if (!QFileInfo(desktop_.folder).isDir()) throw Error(QString::fromLocal8Bit(std::strerror(ENOTDIR)));
}

// "Книга 2026-03-14 09-30-05.xlsx", numbered when that name is taken. The file is made here, empty,
// so that no other export (another run of the program, too) can take the name meanwhile.
QString DesktopApplication::reserveFreshPath() const {
    const QDir folder(desktop_.folder);
    const QString stem = QStringLiteral("Книга ") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    for (int n = 1; n <= 1000; ++n) {
        const QString path = folder.filePath(n == 1 ? stem + QStringLiteral(".xlsx")
                                                    : QStringLiteral("%1 (%2).xlsx").arg(stem).arg(n));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
        if (!QFileInfo::exists(path)) throw Error(file.errorString());   // the folder refuses it
    }
    throw Error(QStringLiteral("все имена файлов заняты"));
}

// The folder is made here, when the workbook goes to its file: a folder that cannot be made or
// written is told once, naming it, at the moment the user expects the workbook.
void DesktopApplication::show(Workbook& workbook) {
    if (!workbook.openedFrom().isEmpty()) {
        showFile(workbook.openedFrom());
        return;
    }
    QString path;
    try {
        makeFolder();
        path = reserveFreshPath();
        writeXlsx(workbook, path);
    } catch (const Error& e) {
        // A file begun and not finished would look like the export: it goes.
        if (!path.isEmpty()) QFile::remove(path);
        const QString where = path.isEmpty() ? QStringLiteral("папку ") + QDir::toNativeSeparators(desktop_.folder)
                                             : QStringLiteral("файл ") + QDir::toNativeSeparators(path);
        throw Error(QStringLiteral("Не удалось записать книгу в %1: %2").arg(where, e.message()));
    }
    written_ << path;
    showFile(path);
}

// The outcome may come after this application is gone (the writers started afresh): it holds
// only the path.
void DesktopApplication::showFile(const QString& path) {
    desktop_.open(path, [path](bool shown) {
        if (!shown) tellWhereItIs(path);
    });
}

void DesktopApplication::tellWhereItIs(const QString& path) {
    ui::dialogs().message(QStringLiteral("Книгу не удалось открыть: на компьютере нет программы для файлов .xlsx "
                                         "или она не смогла открыть книгу.\n\n"
                                         "Книга записана в файл:\n%1")
                              .arg(QDir::toNativeSeparators(path)),
                          QStringLiteral("Excel"), ui::Icon::Warning);
}

DesktopLauncher::DesktopLauncher(std::function<Desktop()> desktop) : desktop_(std::move(desktop)) {}

std::shared_ptr<Application> DesktopLauncher::attach() { return running_; }

// Only a desktop that names no folder at all leaves the application nowhere to put workbooks.
std::shared_ptr<Application> DesktopLauncher::start() {
    Desktop desktop = desktop_();
    if (desktop.folder.isEmpty()) throw Error(QStringLiteral("Папка для книг не задана"));
    running_ = std::make_shared<DesktopApplication>(std::move(desktop));
    return running_;
}

}  // namespace spreadsheet
