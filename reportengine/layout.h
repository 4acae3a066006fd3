#pragma once

#include "data/decimal.h"

#include <QColor>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

namespace reportengine {

class Rows;

// The current row of a report as expressions see it.
class RowView {
public:
    RowView(const Rows& rows, int row) : rows_(rows), row_(row) {}
    QVariant value(const QString& field) const;
    // The exact number of a field; NULL and text that is no number read 0.
    data::Decimal number(const QString& field) const;
    int index() const { return row_; }

private:
    const Rows& rows_;
    int row_;
};

// An expression over the fields of the current row: plain C++ code.
using Expression = std::function<QVariant(const RowView&)>;

enum class Align { Left, Center, Right };

struct Font {
    double pointSize = 9;
    bool bold = false;
};

// How the preview first shows the pages.
enum class Zoom { FitPage, FitWidth };

// One thing placed on a band, in millimetres from the band's top left corner (x from the left
// margin). Labels, fields, expressions, sums and page numbers print text; lines and shades draw.
struct Element {
    enum class Kind { Label, Field, Expression, Sum, PageNumber, Line, Shade };
    Kind kind = Kind::Label;
    QString name;                  // the layout's name for it: the window finds labels by it
    double x = 0, y = 0, width = 0, height = 0;
    QString text;                  // a label's caption
    QString field;                 // a field's name, or the field a sum adds up
    Expression expression;         // an expression's value, or what a sum adds up when it is set
    QString mask;                  // "#0.00": two decimals; empty: the value's own form
    bool reset = false;            // a sum that starts again after its band is printed
    Align align = Align::Left;
    Font font;
    QColor color = Qt::black;      // text, line or shade colour
    Qt::PenStyle pen = Qt::SolidLine;
};

Element label(QString name, double x, double width, QString text, Align align = Align::Left, Font font = {});
Element field(QString name, double x, double width, QString field, Align align = Align::Left, Font font = {});
Element expression(QString name, double x, double width, Expression value, Align align = Align::Left, Font font = {});
Element sum(QString name, double x, double width, QString field, bool reset, Align align = Align::Left, Font font = {});
Element sumOf(QString name, double x, double width, Expression value, bool reset, Align align = Align::Left, Font font = {});
Element pageNumber(QString name, double x, double width, Align align = Align::Right, Font font = {});
// A line from (x1, y1) to (x2, y2) in the band.
Element line(double x1, double y1, double x2, double y2, QColor color = Qt::black, Qt::PenStyle pen = Qt::SolidLine);
Element shade(double x, double y, double width, double height, QColor color);

struct Band {
    enum class Kind { Title, GroupHeader, GroupFooter, Child, Detail, PageFooter };
    QString name;
    Kind kind = Kind::Detail;
    double height = 5;
    std::vector<Element> elements;
    bool lineAbove = false;
    bool lineBelow = false;
    std::optional<QColor> shading;   // the whole band's background
};

// A group: its header prints when the group starts, its footer after its last row. A group
// without a key is one group over the whole report: its header prints once at the start and its
// footer once at the end, even when there are no rows.
struct Group {
    Band header;
    std::vector<Band> children;   // printed right after the header
    Expression key;               // a change of value starts a new group
    bool repeatOnEveryPage = false;
    std::optional<Band> footer;
};

struct Page {
    bool landscape = false;
    double marginLeft = 10, marginTop = 10, marginRight = 10, marginBottom = 10;   // mm
    double width() const { return landscape ? 297 : 210; }    // A4
    double height() const { return landscape ? 210 : 297; }
    double bodyWidth() const { return width() - marginLeft - marginRight; }
};

// A report as data: the page, the bands in print order, and how the preview opens.
struct Layout {
    Page page;
    std::optional<Band> title;
    std::vector<Group> groups;   // outermost first
    Band detail;
    std::optional<Band> pageFooter;
    Zoom zoom = Zoom::FitPage;

    // The element called `name`, wherever it stands; nullptr when there is none.
    Element* find(const QString& name);
    // Sets the caption of the label called `name`.
    void setCaption(const QString& name, const QString& text);
};

}  // namespace reportengine
