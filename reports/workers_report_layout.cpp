#include "reports/workers_report_layout.h"

#include "data/data_module.h"
#include "reports/period_report_bands.h"
#include "reports/report_queries.h"
#include "ui/roster.h"

namespace reports {

using namespace reportengine;

Layout workersReportLayout() {
    Layout layout = periodLayout(titleGroup(
        {}, totalBand(138, {total(161, 29, QStringLiteral("summa"), QStringLiteral("#0.00"))})));
    layout.groups.push_back(keyGroup(
        QStringLiteral("QRGroup2"), QStringLiteral("fio"), true,
        subtotalBand(QStringLiteral("QRBand3"),
                     {subtotal(QStringLiteral("QRBand3"), 163, 27, QStringLiteral("summa"), QStringLiteral("#0.00"))})));
    layout.groups.push_back(keyGroup(
        QStringLiteral("QRGroup3"), QStringLiteral("nom"), false,
        subtotalBand(QStringLiteral("QRBand4"),
                     {subtotal(QStringLiteral("QRBand4"), 138, 25, QStringLiteral("kolvo")),
                      subtotal(QStringLiteral("QRBand4"), 163, 27, QStringLiteral("summa"), QStringLiteral("#0.000"))})));
    layout.detail = detailBand({
        expression(QStringLiteral("kind"), 13, 44, productKindText),
        paddedTextField(QStringLiteral("vid"), 57, 45, Align::Center),
        expression(QStringLiteral("colorText"), 102, 36, colorText),
        field(QStringLiteral("kolvo"), 138, 25, QStringLiteral("kolvo"), Align::Center),
        masked(field(QStringLiteral("summa"), 163, 27, QStringLiteral("summa"), Align::Center), QStringLiteral("#0.000")),
    });
    return layout;
}

}  // namespace reports

TForm16::TForm16(Roster& roster)
    : PeriodReportForm(QStringLiteral("Form16"), reports::workersReportLayout()),
      t_Report(roster.DataModule6->ADO_DB, reports::workersReportQuery()) {
    t_Report.setFieldSize(QStringLiteral("fio"), 50);
    t_Report.setFieldSize(QStringLiteral("vid"), 50);
    t_Report.setFieldSize(QStringLiteral("nom"), 100);
}
