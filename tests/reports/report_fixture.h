#pragma once

#include "reportengine/prepared_report.h"
#include "tests/support/program_fixture.h"

#include <QStringList>
#include <vector>

namespace testing_support {

// The printed lines of a page: the texts of each band row, top to bottom.
using Lines = std::vector<QStringList>;
Lines linesOf(const reportengine::PreparedPage& page);

// Lines [from, to) in a fixed order, for rows the reports' statements leave unordered.
Lines sortedWithin(Lines lines, size_t from, size_t to);

// A small department's November 2026: two workers, two product groups, two operation kinds on
// finished products and blanks, colours 0, 1 and 12, and records just outside the month.
//
//   Иванов И.И.  Группа А  ШК-120  Сборка   (finished) colour 0   10 pcs, 1 defect, 1.25 each
//                                                                  5 pcs, 1.25 each
//                          ШК-120  Покраска (blanks)   colour 1    4 pcs, 2.50 each
//                Группа Б  ШК-200  Сборка   (finished) colour 12   3 pcs, 0.125 each
//   Петров П.П.  Группа А  ШК-120  Покраска (blanks)   colour 12   2 pcs, 2.50 each
//                + 100 pcs on 31 October and 1 December
//
// ШК-120 counts 1.25 boxes a piece, ШК-200 0.5.
class ReportTest : public ProgramTest {
protected:
    void fillNovember();

    int ivanov = 0;
    int petrov = 0;
};

}  // namespace testing_support
