#pragma once

class TDataModule6;
class TForm1;

namespace journal {

// The journal's "Удалить": after the user agrees, deletes the current record of the selected
// shift and brings the worker's day cell of the monthly timesheet in line with what remains.
void deleteCurrentRecord(TForm1& journal, TDataModule6& dm);

}  // namespace journal
