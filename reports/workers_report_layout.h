#pragma once

#include "data/dataset.h"
#include "reports/period_report_form.h"

struct Roster;

namespace reports {

// The report by workers: per worker (shaded) and product group, the good pieces and earnings of
// each product kind, operation kind and colour, with subtotals per group and per worker.
reportengine::Layout workersReportLayout();

}  // namespace reports

// The layout of the report by workers and its dataset t_Report.
class TForm16 : public PeriodReportForm {
    Q_OBJECT

public:
    explicit TForm16(Roster& roster);

    data::Dataset t_Report;

protected:
    data::Dataset& reportDataset() override { return t_Report; }
};
