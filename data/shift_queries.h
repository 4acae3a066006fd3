#pragma once

#include <QString>

namespace data {

class Dataset;

// The statement of the shift dataset of `shift` (1..4): the records of one date (parameter data)
// without those whose acceptance mark is the parameter ok. Shift 1 is sorted by name, product
// mark, operation kind, product type and colour; the other shifts by name only.
QString shiftQuery(int shift);

// The declared text sizes of the shift datasets' fields.
void declareShiftFields(Dataset& dataset);

}  // namespace data
