#include "reports/period_report_form.h"

#include "data/dataset.h"
#include "reportengine/prepared_report.h"
#include "reportengine/preview_window.h"
#include "reportengine/rows.h"
#include "ui/modal.h"

namespace reports {

void applyProductKind(data::Dataset& dataset, int productKind) {
    if (productKind == FinishedProducts || productKind == Blanks) {
        dataset.setFilter(productKind == FinishedProducts ? QStringLiteral("naimen=0") : QStringLiteral("naimen=1"));
        dataset.setFiltered(true);
    } else {
        dataset.setFiltered(false);
    }
}

}  // namespace reports

PeriodReportForm::PeriodReportForm(const QString& name, reportengine::Layout layout)
    : ui::Form(name, name), QuickRep1(std::move(layout)), Preview(new reportengine::PreviewWindow(this)) {}

PeriodReportForm::~PeriodReportForm() = default;

reportengine::PreparedReport PeriodReportForm::preparePeriod(const reports::ReportRequest& request) {
    data::Dataset& dataset = reportDataset();
    // A dataset left open by a failed run would otherwise show its old rows.
    dataset.close();
    dataset.setParam(QStringLiteral("data1"), request.from);
    dataset.setParam(QStringLiteral("data2"), request.to);
    reports::applyProductKind(dataset, request.productKind);
    dataset.open();
    QuickRep1.setCaption(QStringLiteral("QRLabel1"), request.title);
    reportengine::PreparedReport report = reportengine::prepare(QuickRep1, reportengine::DatasetRows(dataset));
    dataset.close();
    return report;
}

void PeriodReportForm::previewPeriod(const reports::ReportRequest& request) {
    Preview->setReport(preparePeriod(request));
    ui::showModal(*Preview);
}
