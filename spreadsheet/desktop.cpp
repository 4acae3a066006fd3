#include "spreadsheet/desktop.h"

#include "spreadsheet/xlsx_file.h"
#include "ui/dialogs.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace spreadsheet {
namespace {

const QString programFolder = QStringLiteral("Табель");

}  // namespace

Desktop Desktop::user() {
    Desktop desktop;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath() + QStringLiteral("/Documents");
    desktop.folder = documents + u'/' + programFolder;
    desktop.open = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    return desktop;
}

DesktopApplication::DesktopApplication(Desktop desktop) : desktop_(std::move(desktop)) {}

bool DesktopApplication::folderUsable() const {
    if (desktop_.folder.isEmpty() || !QDir().mkpath(desktop_.folder)) return false;
    const QFileInfo folder(desktop_.folder);
    return folder.isDir() && folder.isWritable();
}

void DesktopApplication::addWorkbook() {
    if (!folderUsable())
        throw Error(QStringLiteral("Папка %1 недоступна для записи").arg(QDir::toNativeSeparators(desktop_.folder)));
    // A workbook shown is in its file now, and no call can reach it once another is added: the
    // application kept for the run does not keep every export's cells too.
    std::erase_if(workbooks_, [](const std::unique_ptr<Workbook>& book) { return book->shown(); });
    Application::addWorkbook();
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

void DesktopApplication::show(Workbook& workbook) {
    if (!workbook.openedFrom().isEmpty()) {
        if (!desktop_.open(workbook.openedFrom())) tellWhereItIs(workbook.openedFrom());
        return;
    }
    QString path;
    try {
        path = reserveFreshPath();
        writeXlsx(workbook, path);
    } catch (const Error& e) {
        if (!path.isEmpty()) QFile::remove(path);
        throw Error(QStringLiteral("Не удалось записать книгу в файл %1: %2")
                        .arg(QDir::toNativeSeparators(path.isEmpty() ? desktop_.folder : path), e.message()));
    }
    written_ << path;
    if (!desktop_.open(path)) tellWhereItIs(path);
}

void DesktopApplication::tellWhereItIs(const QString& path) {
    ui::dialogs().message(QStringLiteral("Не удалось открыть книгу: нет программы, которая её покажет.\n"
                                         "Книга в файле %1")
                              .arg(QDir::toNativeSeparators(path)),
                          QStringLiteral("Excel"), ui::Icon::Information);
}

DesktopLauncher::DesktopLauncher(std::function<Desktop()> desktop) : desktop_(std::move(desktop)) {}

std::shared_ptr<Application> DesktopLauncher::attach() {
    if (running_ && running_->folderUsable()) return running_;
    return nullptr;
}

std::shared_ptr<Application> DesktopLauncher::start() {
    auto application = std::make_shared<DesktopApplication>(desktop_());
    if (!application->folderUsable()) throw Error(QStringLiteral("Папка для книг недоступна"));
    running_ = application;
    return running_;
}

}  // namespace spreadsheet
