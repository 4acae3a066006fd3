#include "reportengine/layout.h"

#include "data/field.h"
#include "reportengine/rows.h"

namespace reportengine {

QVariant RowView::value(const QString& field) const { return rows_.value(row_, field); }

data::Decimal RowView::number(const QString& field) const {
    return data::decimalOf(value(field)).value_or(data::Decimal());
}

namespace {

Element text(Element::Kind kind, QString name, double x, double width, Align align, Font font) {
    Element e;
    e.kind = kind;
    e.name = std::move(name);
    e.x = x;
    e.width = width;
    e.align = align;
    e.font = font;
    return e;
}

}  // namespace

Element label(QString name, double x, double width, QString caption, Align align, Font font) {
    Element e = text(Element::Kind::Label, std::move(name), x, width, align, font);
    e.text = std::move(caption);
    return e;
}

Element field(QString name, double x, double width, QString fieldName, Align align, Font font) {
    Element e = text(Element::Kind::Field, std::move(name), x, width, align, font);
    e.field = std::move(fieldName);
    return e;
}

Element expression(QString name, double x, double width, Expression value, Align align, Font font) {
    Element e = text(Element::Kind::Expression, std::move(name), x, width, align, font);
    e.expression = std::move(value);
    return e;
}

Element sum(QString name, double x, double width, QString fieldName, bool reset, Align align, Font font) {
    Element e = text(Element::Kind::Sum, std::move(name), x, width, align, font);
    e.field = std::move(fieldName);
    e.reset = reset;
    return e;
}

Element sumOf(QString name, double x, double width, Expression value, bool reset, Align align, Font font) {
    Element e = text(Element::Kind::Sum, std::move(name), x, width, align, font);
    e.expression = std::move(value);
    e.reset = reset;
    return e;
}

Element pageNumber(QString name, double x, double width, Align align, Font font) {
    return text(Element::Kind::PageNumber, std::move(name), x, width, align, font);
}

Element line(double x1, double y1, double x2, double y2, QColor color, Qt::PenStyle pen) {
    Element e;
    e.kind = Element::Kind::Line;
    e.x = x1;
    e.y = y1;
    e.width = x2 - x1;
    e.height = y2 - y1;
    e.color = color;
    e.pen = pen;
    return e;
}

Element shade(double x, double y, double width, double height, QColor color) {
    Element e;
    e.kind = Element::Kind::Shade;
    e.x = x;
    e.y = y;
    e.width = width;
    e.height = height;
    e.color = color;
    return e;
}

Element* Layout::find(const QString& name) {
    std::vector<Band*> bands;
    if (title) bands.push_back(&*title);
    for (Group& g : groups) {
        bands.push_back(&g.header);
        for (Band& child : g.children) bands.push_back(&child);
        if (g.footer) bands.push_back(&*g.footer);
    }
    bands.push_back(&detail);
    if (pageFooter) bands.push_back(&*pageFooter);
    for (Band* band : bands)
        for (Element& e : band->elements)
            if (e.name == name) return &e;
    return nullptr;
}

void Layout::setCaption(const QString& name, const QString& caption) {
    if (Element* e = find(name)) e->text = caption;
}

}  // namespace reportengine
