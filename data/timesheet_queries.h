#pragma once

#include <QString>

namespace data {

// The monthly timesheet of shift 1, 2 or 3 with each worker's hours, earnings and average piece
// rate: the text of H_Tabel_1..3 (parameters mnth, yea, date1, date2).
QString timesheetGridQuery(int shift);

// The hours of all shifts summed per worker name and day: the print dataset H_Tabel
// (parameters mnth, yea).
QString timesheetPrintQuery();

// The hours of one date per shift and worker, read by the rebuild (parameter data).
QString timesheetDayQuery();

}  // namespace data
