#pragma once

#include "reportengine/layout.h"

#include <vector>

// The pieces the four period reports share: the page, the title with its column headings, the
// keyed group headers, the footers with their subtotals, the shaded report total, the page
// number, and the two expressions that name the product kind and the colour.
namespace reports {

// A4 portrait, 10 mm margins, opened fitted to the page width, with the page number at 176 mm.
// `title` (QRGroup1) goes first; the keyed groups and the detail are added by each report.
reportengine::Layout periodLayout(reportengine::Group title);

// QRGroup1: printed once before the first row, the title label QRLabel1 on its shaded line and
// the column headings under it, a 0.5 mm spacer after it; its footer QRBand2 is the report total.
reportengine::Group titleGroup(std::vector<reportengine::Element> headings, reportengine::Band total);
reportengine::Element heading(double x, double width, const QString& text);

// A group started by each new value of `field`, printed bold, shaded on the first level.
reportengine::Group keyGroup(const QString& name, const QString& field, bool shaded, reportengine::Band footer);

// A group footer: bold subtotals that start again after the band.
reportengine::Band subtotalBand(const QString& name, std::vector<reportengine::Element> sums);
// A subtotal of `field` named band.field; `mask` as "#0.00".
reportengine::Element subtotal(const QString& band, double x, double width, const QString& field,
                               const QString& mask = {});

// QRBand2, the shaded report total: "Итого:" at `labelX` and the running sums in their boxes.
reportengine::Band totalBand(double labelX, std::vector<reportengine::Element> sums);
reportengine::Element total(double x, double width, const QString& field, const QString& mask = {});

// A text field printed without the blanks that pad a fixed-length column (the operation kind):
// the padding would push a centred name off its column.
reportengine::Element paddedTextField(const QString& field, double x, double width,
                                      reportengine::Align align = reportengine::Align::Left);

// A detail band of 9-point fields.
reportengine::Band detailBand(std::vector<reportengine::Element> elements);

// "Готовая продукция" for product kind 0, "Заготовки" otherwise.
QVariant productKindText(const reportengine::RowView& row);
// " (грунт)" for colour 1, " (RAL: N)" for a colour N above 1, a blank otherwise.
QVariant colorText(const reportengine::RowView& row);

}  // namespace reports

namespace reports {

// A detail element with a mask such as "#0.000".
inline reportengine::Element masked(reportengine::Element e, const QString& mask) {
    e.mask = mask;
    return e;
}

}  // namespace reports
