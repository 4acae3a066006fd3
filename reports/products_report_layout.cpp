#include "reports/products_report_layout.h"

#include "data/data_module.h"
#include "reports/period_report_bands.h"
#include "reports/report_queries.h"
#include "ui/roster.h"

namespace reports {

using namespace reportengine;

Layout productsReportLayout() {
    Layout layout = periodLayout(titleGroup(
        {heading(136, 27, QStringLiteral("Коробки")), heading(165, 25, QStringLiteral("Количество"))},
        totalBand(106, {total(131, 30, QStringLiteral("mass"), QStringLiteral("#0")),
                        total(161, 29, QStringLiteral("kolvo"))})));
    layout.groups.push_back(keyGroup(
        QStringLiteral("QRGroup3"), QStringLiteral("nom"), true,
        subtotalBand(QStringLiteral("QRBand4"),
                     {subtotal(QStringLiteral("QRBand4"), 134, 29, QStringLiteral("mass")),
                      subtotal(QStringLiteral("QRBand4"), 163, 27, QStringLiteral("kolvo"))})));
    layout.detail = detailBand({
        expression(QStringLiteral("kind"), 13, 42, productKindText),
        paddedTextField(QStringLiteral("vid"), 55, 38, Align::Center),
        expression(QStringLiteral("colorText"), 93, 41, colorText),
        field(QStringLiteral("mass"), 134, 29, QStringLiteral("mass"), Align::Center),
        field(QStringLiteral("kolvo"), 163, 27, QStringLiteral("kolvo"), Align::Center),
    });
    return layout;
}

}  // namespace reports

TForm17::TForm17(Roster& roster)
    : PeriodReportForm(QStringLiteral("Form17"), reports::productsReportLayout()),
      t_Report(roster.DataModule6->ADO_DB, reports::productsReportQuery()) {
    t_Report.setFieldSize(QStringLiteral("vid"), 50);
    t_Report.setFieldSize(QStringLiteral("nom"), 100);
}
