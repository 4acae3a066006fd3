#include "reports/detailed_products_report_layout.h"

#include "data/data_module.h"
#include "reports/period_report_bands.h"
#include "reports/report_queries.h"
#include "ui/roster.h"

namespace reports {

using namespace reportengine;

Layout detailedProductsReportLayout() {
    Layout layout = periodLayout(titleGroup(
        {heading(124, 11, QStringLiteral("Брак")), heading(135, 18, QStringLiteral("Коробки")),
         heading(153, 21, QStringLiteral("Кол-во")), heading(174, 16, QStringLiteral("Сумма"))},
        totalBand(100, {total(124, 9, QStringLiteral("brk")), total(133, 19, QStringLiteral("mass")),
                        total(152, 18, QStringLiteral("kolvo")),
                        total(170, 20, QStringLiteral("summa"), QStringLiteral("#0.00"))})));
    const QString footer = QStringLiteral("QRBand4");
    layout.groups.push_back(keyGroup(
        QStringLiteral("QRGroup3"), QStringLiteral("nom"), true,
        subtotalBand(footer, {subtotal(footer, 124, 9, QStringLiteral("brk")),
                              subtotal(footer, 133, 19, QStringLiteral("mass"), QStringLiteral("#0.00")),
                              subtotal(footer, 152, 18, QStringLiteral("kolvo")),
                              subtotal(footer, 170, 20, QStringLiteral("summa"), QStringLiteral("#0.00"))})));
    layout.detail = detailBand({
        field(QStringLiteral("marka"), 1, 52, QStringLiteral("marka")),
        paddedTextField(QStringLiteral("vid"), 53, 28),
        field(QStringLiteral("color"), 81, 18, QStringLiteral("color"), Align::Center),
        expression(QStringLiteral("kind"), 99, 26, productKindText),
        field(QStringLiteral("brk"), 125, 9, QStringLiteral("brk"), Align::Center),
        field(QStringLiteral("mass"), 134, 18, QStringLiteral("mass"), Align::Center),
        field(QStringLiteral("kolvo"), 152, 18, QStringLiteral("kolvo"), Align::Center),
        masked(field(QStringLiteral("summa"), 170, 20, QStringLiteral("summa"), Align::Center), QStringLiteral("#0.000")),
    });
    return layout;
}

}  // namespace reports

TForm21::TForm21(Roster& roster)
    : PeriodReportForm(QStringLiteral("Form21"), reports::detailedProductsReportLayout()),
      i_Report(roster.DataModule6->ADO_DB, reports::detailedProductsReportQuery()) {
    i_Report.setFieldSize(QStringLiteral("marka"), 512);
    i_Report.setFieldSize(QStringLiteral("nom"), 512);
    i_Report.setFieldSize(QStringLiteral("vid"), 128);
}
