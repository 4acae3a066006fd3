#include "app/startup.h"

#include "app/login_window.h"
#include "app/windows.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "ui/dialogs.h"

#include <QApplication>

int runProgram(const QStringList& args) {
    TDataModule6 dataModule(data::ConnectionSettings::fromCommandLine(args));
    try {
        dataModule.ADO_DB.open();
    } catch (const data::DbError&) {
        ui::showError(QStringLiteral("Подключение к БД отсутсвует!!!"), QStringLiteral("Ошибка!"));
        return 1;
    }
    try {
        Windows windows(dataModule);
        windows.roster.Form23->show();
        return QApplication::exec();
    } catch (const std::exception& e) {
        ui::dialogs().standardError(QString::fromUtf8(e.what()));
        return 1;
    }
}
