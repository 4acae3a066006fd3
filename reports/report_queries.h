#pragma once

#include <QString>

// The statements of the four period reports (parameters data1 and data2: the period, the end
// date excluded).
namespace reports {

// t_Report of the report by workers: good pieces and earnings per worker, product group,
// product kind, operation kind and colour.
QString workersReportQuery();

// t_Report of the report by products: good pieces and their boxes per product group.
QString productsReportQuery();

// w_Report of the detailed report by workers: all pieces, defects and earnings per worker and mark.
QString detailedWorkersReportQuery();

// i_Report of the detailed report by products: all pieces, defects, boxes and earnings per mark.
QString detailedProductsReportQuery();

}  // namespace reports
