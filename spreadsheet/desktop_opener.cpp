#include "spreadsheet/desktop_opener.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

namespace spreadsheet {

void openWithDesktopProgram(const QString& path, OpenOutcome outcome) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        outcome(false);
        return;
    }
    // The process lives until it ends; its words about the failure go to the program's log.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto told = std::make_shared<bool>(false);
    const auto tell = [process, told, outcome](bool shown) {
        if (*told) return;
        *told = true;
        process->deleteLater();
        outcome(shown);
    };
    QObject::connect(process, &QProcess::finished, process, [tell](int code, QProcess::ExitStatus status) {
        tell(status == QProcess::NormalExit && code == 0);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [tell](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) tell(false);
    });
    process->start(opener, {path});
}

}  // namespace spreadsheet
