#include "app/version_check.h"

#include "app/login_window.h"
#include "data/data_module.h"
#include "journal/journal_window.h"
#include "ui/dialogs.h"
#include "ui/quit.h"
#include "ui/roster.h"

#include <QTimer>

void VersionCheck(Roster& roster, const BuildStamp& build) {
    TForm1& journal = *roster.Form1;
    journal.buildDate = build.date;
    journal.buildTime = build.time;

    data::Dataset& ver = journal.ver;
    ver.close();
    ver.open();
    ver.first();
    roster.DataModule6->Delim = ver.field(QStringLiteral("delim")).asString();

    const BuildStamp stored{int(ver.field(QStringLiteral("d")).asInteger()),
                            int(ver.field(QStringLiteral("t")).asInteger())};
    // An empty table reads as the oldest stamp: editing it creates the row.
    if (stored < build) {
        ver.edit();
        ver.setFieldValue(QStringLiteral("d"), build.date);
        ver.setFieldValue(QStringLiteral("t"), build.time);
        ver.post();
    } else if (build < stored) {
        // The timer ends the run even if nobody answers the message.
        roster.Form23->Timer1->start();
        ui::showError(QStringLiteral(
            "Версия программы не соответсвует БД! Запустите программу через 5 мин."));
        ui::requestQuit();
    }
    ver.close();
}
