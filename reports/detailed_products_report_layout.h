#pragma once

#include "data/dataset.h"
#include "reports/period_report_form.h"

struct Roster;

namespace reports {

// The detailed report by products: per product group (shaded), one line per mark, operation
// kind, colour and product kind with the defects, boxes, all pieces and earnings, and subtotals
// per group.
reportengine::Layout detailedProductsReportLayout();

}  // namespace reports

// The layout of the detailed report by products and its dataset i_Report.
class TForm21 : public PeriodReportForm {
    Q_OBJECT

public:
    explicit TForm21(Roster& roster);

    data::Dataset i_Report;

protected:
    data::Dataset& reportDataset() override { return i_Report; }
};
