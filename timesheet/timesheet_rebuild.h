#pragma once

#include <QString>
#include <functional>

class TDataModule6;
namespace data { class Dataset; }

namespace timesheet {

// Days of `month` in `year` (leap years observed); 0 for a year that is no number.
int daysInMonth(int month, const QString& year);

// Throws the month's rows away and recomputes them day by day from the shift records, every
// shift and every acceptance mark counting. All of it is one transaction: a failure anywhere
// leaves the month as it was. The month's lock is taken first, so day cells written from other
// workstations meanwhile wait for the rebuild's end and then update what it wrote. `dt` is the day query; `dayDone(i)` runs after day i.
//
// The statements are the timesheet's fixed wire format, one existence check and one write per
// (shift, worker) of a day. The checks of a day go to the server together, then its writes: the
// writes of one day touch distinct rows, so no check of that day depends on them.
void rebuildMonth(TDataModule6& dm, data::Dataset& dt, int month, const QString& year,
                  const std::function<void(int day)>& dayDone = {});

}  // namespace timesheet
