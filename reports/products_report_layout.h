#pragma once

#include "data/dataset.h"
#include "reports/period_report_form.h"

struct Roster;

namespace reports {

// The report by products: per product group (shaded), the boxes and good pieces of each product
// kind, operation kind and colour, with subtotals per group.
reportengine::Layout productsReportLayout();

}  // namespace reports

// The layout of the report by products and its dataset t_Report.
class TForm17 : public PeriodReportForm {
    Q_OBJECT

public:
    explicit TForm17(Roster& roster);

    data::Dataset t_Report;

protected:
    data::Dataset& reportDataset() override { return t_Report; }
};
