#include "reports/detailed_workers_report_layout.h"

#include "data/data_module.h"
#include "reports/period_report_bands.h"
#include "reports/report_queries.h"
#include "ui/roster.h"

namespace reports {

using namespace reportengine;

Layout detailedWorkersReportLayout() {
    Layout layout = periodLayout(titleGroup(
        {heading(124, 9, QStringLiteral("Брак")), heading(133, 24, QStringLiteral("Количество")),
         heading(157, 33, QStringLiteral("Сумма"))},
        totalBand(106, {total(132, 13, QStringLiteral("brk")), total(145, 21, QStringLiteral("kolvo")),
                        total(166, 24, QStringLiteral("summa"), QStringLiteral("#0.00"))})));
    const QString footer = QStringLiteral("QRBand4");
    layout.groups.push_back(keyGroup(
        QStringLiteral("QRGroup3"), QStringLiteral("fio"), true,
        subtotalBand(footer, {subtotal(footer, 128, 18, QStringLiteral("brk")),
                              subtotal(footer, 146, 24, QStringLiteral("kolvo")),
                              subtotal(footer, 170, 20, QStringLiteral("summa"), QStringLiteral("#0.00"))})));
    layout.detail = detailBand({
        field(QStringLiteral("marka"), 0, 43, QStringLiteral("marka")),
        paddedTextField(QStringLiteral("vid"), 43, 31, Align::Center),
        field(QStringLiteral("color"), 74, 17, QStringLiteral("color"), Align::Center),
        expression(QStringLiteral("kind"), 91, 37, productKindText),
        field(QStringLiteral("brk"), 128, 18, QStringLiteral("brk"), Align::Center),
        field(QStringLiteral("kolvo"), 146, 24, QStringLiteral("kolvo"), Align::Center),
        masked(field(QStringLiteral("summa"), 170, 20, QStringLiteral("summa"), Align::Center), QStringLiteral("#0.00")),
    });
    return layout;
}

}  // namespace reports

TForm20::TForm20(Roster& roster)
    : PeriodReportForm(QStringLiteral("Form20"), reports::detailedWorkersReportLayout()),
      w_Report(roster.DataModule6->ADO_DB, reports::detailedWorkersReportQuery()) {
    for (const char* name : {"fio", "marka", "vid"}) w_Report.setFieldSize(QString::fromLatin1(name), 50);
}
