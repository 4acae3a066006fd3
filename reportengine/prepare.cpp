#include "reportengine/prepared_report.h"

#include "data/field.h"
#include "reportengine/format.h"
#include "reportengine/rows.h"

#include <map>

namespace reportengine {

QStringList PreparedPage::texts() const {
    QStringList out;
    for (const PlacedItem& item : items)
        if (item.kind == PlacedItem::Kind::Text) out << item.text;
    return out;
}

const PlacedItem* PreparedPage::named(const QString& name, int occurrence) const {
    for (const PlacedItem& item : items)
        if (item.name == name && occurrence-- == 0) return &item;
    return nullptr;
}

namespace {

// One run of the layout over the rows.
class Pass {
public:
    Pass(const Layout& layout, const Rows& rows) : layout_(layout), rows_(rows), started_(layout.groups.size()) {
        report_.page = layout.page;
        report_.zoom = layout.zoom;
    }

    PreparedReport run() {
        startPage();
        if (layout_.title) place(*layout_.title, -1);
        const int count = rows_.count();
        for (int row = 0; row < count; ++row) {
            const size_t first = firstGroupStartingAt(row);
            if (row > 0) endGroups(first, row - 1);
            for (size_t g = first; g < layout_.groups.size(); ++g) startGroup(g, row);
            accumulate(row);
            place(layout_.detail, row);
        }
        if (count == 0)
            for (size_t g = 0; g < layout_.groups.size(); ++g)
                if (!layout_.groups[g].key) startGroup(g, -1);
        endGroups(0, count - 1);
        finishPage();
        return std::move(report_);
    }

private:
    // The outermost group whose key changes at `row` (every group starts at the first row);
    // the number of groups when none does.
    size_t firstGroupStartingAt(int row) const {
        for (size_t g = 0; g < layout_.groups.size(); ++g) {
            const Expression& key = layout_.groups[g].key;
            if (row == 0 || (key && key(RowView(rows_, row)) != key(RowView(rows_, row - 1)))) return g;
        }
        return layout_.groups.size();
    }

    void startGroup(size_t g, int row) {
        started_[g] = true;
        place(layout_.groups[g].header, row);
        for (const Band& child : layout_.groups[g].children) place(child, row);
    }

    // Footers of the started groups from the innermost out to group `outermost`.
    void endGroups(size_t outermost, int lastRow) {
        for (size_t g = layout_.groups.size(); g-- > outermost;) {
            if (!started_[g]) continue;
            started_[g] = false;
            if (layout_.groups[g].footer) place(*layout_.groups[g].footer, lastRow);
        }
    }

    void accumulate(int row) {
        const RowView view(rows_, row);
        forEachSum([&](const Element& e) {
            const QVariant value = e.expression ? e.expression(view) : view.value(e.field);
            const data::Decimal add = data::decimalOf(value).value_or(data::Decimal());
            data::Decimal& total = sums_[&e];
            total = total.plus(add).value_or(total);
        });
    }

    template <typename F>
    void forEachSum(F f) const {
        auto inBand = [&](const Band& band) {
            for (const Element& e : band.elements)
                if (e.kind == Element::Kind::Sum) f(e);
        };
        if (layout_.title) inBand(*layout_.title);
        for (const Group& g : layout_.groups) {
            inBand(g.header);
            for (const Band& child : g.children) inBand(child);
            if (g.footer) inBand(*g.footer);
        }
        inBand(layout_.detail);
        if (layout_.pageFooter) inBand(*layout_.pageFooter);
    }

    double bodyBottom() const {
        const Page& p = layout_.page;
        return p.height() - p.marginBottom - (layout_.pageFooter ? layout_.pageFooter->height : 0);
    }

    void startPage() {
        report_.pages.emplace_back();
        y_ = layout_.page.marginTop;
        for (size_t g = 0; g < layout_.groups.size(); ++g)
            if (started_[g] && layout_.groups[g].repeatOnEveryPage) {
                draw(layout_.groups[g].header, lastRow_);
                for (const Band& child : layout_.groups[g].children) draw(child, lastRow_);
            }
        pageBodyTop_ = y_;
    }

    void finishPage() {
        if (!layout_.pageFooter) return;
        y_ = bodyBottom();
        draw(*layout_.pageFooter, lastRow_);
    }

    // A band that does not fit goes to a new page, unless the page holds nothing of its own yet.
    void place(const Band& band, int row) {
        if (y_ + band.height > bodyBottom() + 1e-9 && y_ > pageBodyTop_ + 1e-9) {
            finishPage();
            startPage();
        }
        if (row >= 0) lastRow_ = row;
        draw(band, row);
        for (const Element& e : band.elements)
            if (e.kind == Element::Kind::Sum && e.reset) sums_[&e] = data::Decimal();
    }

    void draw(const Band& band, int row) {
        PreparedPage& page = report_.pages.back();
        const double left = layout_.page.marginLeft;
        const double width = layout_.page.bodyWidth();
        if (band.shading) page.items.push_back(shadeItem(QRectF(left, y_, width, band.height), *band.shading));
        for (const Element& e : band.elements) page.items.push_back(placed(e, band, row));
        if (band.lineAbove) page.items.push_back(lineItem(QRectF(left, y_, width, 0)));
        if (band.lineBelow) page.items.push_back(lineItem(QRectF(left, y_ + band.height, width, 0)));
        y_ += band.height;
    }

    static PlacedItem shadeItem(const QRectF& rect, const QColor& color) {
        PlacedItem item;
        item.kind = PlacedItem::Kind::Shade;
        item.rect = rect;
        item.color = color;
        return item;
    }

    static PlacedItem lineItem(const QRectF& rect) {
        PlacedItem item;
        item.kind = PlacedItem::Kind::Line;
        item.rect = rect;
        return item;
    }

    PlacedItem placed(const Element& e, const Band& band, int row) {
        PlacedItem item;
        item.name = e.name;
        item.color = e.color;
        item.pen = e.pen;
        item.align = e.align;
        item.font = e.font;
        const double x = layout_.page.marginLeft + e.x;
        const double height = e.height > 0 || e.kind == Element::Kind::Line ? e.height : band.height - e.y;
        item.rect = QRectF(x, y_ + e.y, e.width, height);
        switch (e.kind) {
        case Element::Kind::Line: item.kind = PlacedItem::Kind::Line; break;
        case Element::Kind::Shade: item.kind = PlacedItem::Kind::Shade; break;
        default: item.text = textOf(e, row); break;
        }
        return item;
    }

    QString textOf(const Element& e, int row) {
        switch (e.kind) {
        case Element::Kind::Label: return e.text;
        case Element::Kind::PageNumber: return QString::number(report_.pages.size());
        case Element::Kind::Sum: return formatValue(QVariant::fromValue(sums_[&e]), e.mask);
        case Element::Kind::Field:
            return row < 0 ? QString() : formatValue(rows_.value(row, e.field), e.mask);
        case Element::Kind::Expression:
            return row < 0 || !e.expression ? QString() : formatValue(e.expression(RowView(rows_, row)), e.mask);
        default: return {};
        }
    }

    const Layout& layout_;
    const Rows& rows_;
    PreparedReport report_;
    std::vector<bool> started_;
    std::map<const Element*, data::Decimal> sums_;
    double y_ = 0;
    double pageBodyTop_ = 0;
    int lastRow_ = -1;   // fields on repeated headers and footers show the last row printed
};

}  // namespace

PreparedReport prepare(const Layout& layout, const Rows& rows) { return Pass(layout, rows).run(); }

}  // namespace reportengine
