#pragma once

#include "reportengine/layout.h"

#include <QRectF>
#include <QStringList>
#include <vector>

namespace reportengine {

// One thing on a prepared page, placed in millimetres from the paper's top left corner.
struct PlacedItem {
    enum class Kind { Text, Line, Shade };
    Kind kind = Kind::Text;
    QRectF rect;   // a line runs from the top left to the bottom right corner
    QString text;
    QString name;  // the layout element it came from
    Align align = Align::Left;
    Font font;
    QColor color = Qt::black;
    Qt::PenStyle pen = Qt::SolidLine;
};

struct PreparedPage {
    std::vector<PlacedItem> items;
    QStringList texts() const;                   // every text in placing order
    const PlacedItem* named(const QString& name, int occurrence = 0) const;
};

// The pages of a report, ready to paint or to inspect: nothing in them refers back to the rows.
struct PreparedReport {
    Page page;
    Zoom zoom = Zoom::FitPage;
    std::vector<PreparedPage> pages;
};

// Lays the rows out on pages: the title, the group headers and footers as their keys change,
// the details, the sums, the repeated headers and the page footer of every page.
PreparedReport prepare(const Layout& layout, const Rows& rows);

}  // namespace reportengine
