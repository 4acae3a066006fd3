#pragma once

#include "data/dataset.h"
#include "reports/period_report_form.h"

struct Roster;

namespace reports {

// The detailed report by workers: per worker (shaded), one line per mark, operation kind, colour
// and product kind with all pieces, the defects apart and the earnings, and subtotals per worker.
reportengine::Layout detailedWorkersReportLayout();

}  // namespace reports

// The layout of the detailed report by workers and its dataset w_Report.
class TForm20 : public PeriodReportForm {
    Q_OBJECT

public:
    explicit TForm20(Roster& roster);

    data::Dataset w_Report;

protected:
    data::Dataset& reportDataset() override { return w_Report; }
};
