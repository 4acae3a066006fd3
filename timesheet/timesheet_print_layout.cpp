#include "timesheet/timesheet_print_layout.h"

#include "data/data_module.h"
#include "data/timesheet_queries.h"
#include "reportengine/format.h"
#include "reportengine/prepared_report.h"
#include "reportengine/preview_window.h"
#include "reportengine/rows.h"
#include "ui/modal.h"
#include "ui/roster.h"

namespace timesheet {

namespace {

using namespace reportengine;
using C = PrintColumns;

const QColor dottedGrey(128, 128, 128);

double dayX(int day) { return C::firstDay + (day - 1) * C::dayPitch; }

// Every day of the row; an empty day counts 0, so one empty day does not empty the total.
QVariant rowTotal(const RowView& row) {
    data::Decimal total;
    for (int day = 1; day <= 31; ++day)
        total = total.plus(row.number(QStringLiteral("sd%1").arg(day))).value_or(total);
    return QVariant::fromValue(total);
}

Band header() {
    Band band{QStringLiteral("QRGroup1"), Band::Kind::GroupHeader, 6};
    band.lineAbove = band.lineBelow = true;
    const Font bold{9, true};
    band.elements.push_back(label(QStringLiteral("QRLabel33"), 0, C::nameWidth, QStringLiteral("Данные за:"), Align::Left, bold));
    for (int day = 1; day <= 31; ++day) {
        const double x = dayX(day);
        band.elements.push_back(label(QStringLiteral("day%1").arg(day), x, C::dayPitch, QString::number(day), Align::Center, bold));
        band.elements.push_back(line(x, 0, x, band.height, dottedGrey, Qt::DotLine));
    }
    band.elements.push_back(line(C::totalX, 0, C::totalX, band.height, dottedGrey, Qt::DotLine));
    band.elements.push_back(label(QStringLiteral("total"), C::totalX, C::totalWidth, QStringLiteral("Итого"), Align::Center, bold));
    return band;
}

Band detail() {
    Band band{QStringLiteral("QRBand1"), Band::Kind::Detail, 5};
    band.lineAbove = band.lineBelow = true;
    band.elements.push_back(field(QStringLiteral("fio"), 0.5, C::nameWidth - 0.5, QStringLiteral("fio")));
    for (int day = 1; day <= 31; ++day) {
        const double x = dayX(day);
        const QString name = QStringLiteral("sd%1").arg(day);
        band.elements.push_back(field(name, x + (C::dayPitch - C::dayWidth) / 2, C::dayWidth, name, Align::Center));
        if (day % 2 == 1) {
            band.elements.push_back(line(x, 0, x, band.height));
            band.elements.push_back(line(x + C::dayPitch, 0, x + C::dayPitch, band.height));
        }
    }
    band.elements.push_back(expression(QStringLiteral("summ"), C::totalX, C::totalWidth, rowTotal, Align::Center));
    return band;
}

}  // namespace

Layout printLayout() {
    Layout layout;
    layout.page.landscape = true;
    layout.zoom = Zoom::FitPage;
    Group group;
    group.header = header();
    group.repeatOnEveryPage = true;
    layout.groups.push_back(std::move(group));
    layout.detail = detail();
    Band footer{QStringLiteral("QRBand2"), Band::Kind::PageFooter, 6};
    footer.elements.push_back(pageNumber(QStringLiteral("PAGENUMBER"), C::totalX - 20, C::totalWidth + 20));
    layout.pageFooter = std::move(footer);
    return layout;
}

}  // namespace timesheet

TForm15::TForm15(Roster& roster)
    : ui::Form(QStringLiteral("Form15"), QStringLiteral("Form15")),
      H_Tabel(roster.DataModule6->ADO_DB, data::timesheetPrintQuery()),
      QuickRep1(timesheet::printLayout()),
      Preview(new reportengine::PreviewWindow(this)),
      roster_(roster) {
    H_Tabel.setFieldSize(QStringLiteral("fio"), 254);
}

reportengine::PreparedReport TForm15::prepareMonth(int month, int year, const QString& caption) {
    H_Tabel.close();
    H_Tabel.setParam(QStringLiteral("mnth"), month);
    H_Tabel.setParam(QStringLiteral("yea"), year);
    H_Tabel.open();
    QuickRep1.setCaption(QStringLiteral("QRLabel33"), caption);
    reportengine::PreparedReport report = reportengine::prepare(QuickRep1, reportengine::DatasetRows(H_Tabel));
    H_Tabel.close();
    return report;
}

void TForm15::previewMonth(int month, int year, const QString& caption) {
    Preview->setReport(prepareMonth(month, year, caption));
    ui::showModal(*Preview);
}
