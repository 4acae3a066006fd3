#pragma once

#include "reportengine/layout.h"
#include "ui/form.h"

#include <QDate>
#include <QString>

namespace data { class Dataset; }
namespace reportengine { class PreviewWindow; struct PreparedReport; }

namespace reports {

// The product kinds of the summary reports window, in the order of its radio group.
enum ProductKind { AllKinds = 0, FinishedProducts = 1, Blanks = 2 };

// What the summary reports window asks of a report: the period (`to` excluded), the product
// kind whose rows count, and the title.
struct ReportRequest {
    QDate from;
    QDate to;
    int productKind = AllKinds;
    QString title;
};

// Narrows the rows read to one product kind: "Все" shows every row, the others those with
// naimen 0 or 1, so that every sum of the report covers only the rows it prints.
void applyProductKind(data::Dataset& dataset, int productKind);

}  // namespace reports

// A period report layout: a hidden window that holds the layout QuickRep1 and its dataset.
class PeriodReportForm : public ui::Form {
    Q_OBJECT

public:
    PeriodReportForm(const QString& name, reportengine::Layout layout);
    ~PeriodReportForm() override;

    reportengine::Layout QuickRep1;
    reportengine::PreviewWindow* Preview;

    // Reads the period's rows of the kind, lays them out under the title on every page and
    // closes the dataset; the pages do not depend on it.
    reportengine::PreparedReport preparePeriod(const reports::ReportRequest& request);

    // Prepares the report and shows its pages in the preview.
    void previewPeriod(const reports::ReportRequest& request);

protected:
    virtual data::Dataset& reportDataset() = 0;
};
