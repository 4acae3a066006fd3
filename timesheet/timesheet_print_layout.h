#pragma once

#include "data/dataset.h"
#include "reportengine/layout.h"
#include "ui/form.h"

struct Roster;
namespace reportengine { class PreviewWindow; struct PreparedReport; }

namespace timesheet {

// The printed timesheet: A4 landscape, the month caption and the day titles repeated on every
// page, one line per worker name with the hours of every shift, the total and the page number.
// The name column gives way so that 31 days and the total fit between the margins.
reportengine::Layout printLayout();

// Sizes of the printed columns, in millimetres from the left margin.
struct PrintColumns {
    static constexpr double nameWidth = 60;
    static constexpr double firstDay = 61;
    static constexpr double dayPitch = 6.6;
    static constexpr double dayWidth = 5;
    static constexpr double totalX = firstDay + 31 * dayPitch;   // 265.6
    static constexpr double totalWidth = 277 - totalX;
};

}  // namespace timesheet

// The print layout of the monthly timesheet and its dataset H_Tabel.
class TForm15 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm15(Roster& roster);

    data::Dataset H_Tabel;
    reportengine::Layout QuickRep1;
    reportengine::PreviewWindow* Preview;

    // Reads the month's hours, lays them out on pages under `caption` (the text of QRLabel33)
    // and closes the dataset; the pages do not depend on it.
    reportengine::PreparedReport prepareMonth(int month, int year, const QString& caption);

    // Prepares the month and shows its pages in the preview.
    void previewMonth(int month, int year, const QString& caption);

private:
    Roster& roster_;
};
