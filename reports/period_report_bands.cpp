#include "reports/period_report_bands.h"

#include "reportengine/format.h"

namespace reports {

using namespace reportengine;

namespace {

const QColor titleShade(244, 244, 244);
const QColor firstLevelShade(224, 224, 224);
const QColor totalShade(220, 220, 220);
const QColor totalBoxShade(239, 239, 239);

constexpr double titleHeight = 6;
constexpr double headingHeight = 5;
constexpr double rowHeight = 5;
constexpr double footerHeight = 5.5;
constexpr double totalHeight = 6.5;
constexpr double bodyWidth = 190;

const Font bold{9, true};

Band makeBand(const QString& name, Band::Kind kind, double height, std::vector<Element> elements = {}) {
    Band band;
    band.name = name;
    band.kind = kind;
    band.height = height;
    band.elements = std::move(elements);
    return band;
}

}  // namespace

Layout periodLayout(Group title) {
    Layout layout;
    layout.zoom = Zoom::FitWidth;
    layout.title = makeBand(QStringLiteral("QRBand1"), Band::Kind::Title, 0);
    layout.groups.push_back(std::move(title));
    Band footer = makeBand(QStringLiteral("QRBand6"), Band::Kind::PageFooter, 6);
    footer.elements.push_back(pageNumber(QStringLiteral("PageNumber"), 176, 14, Align::Left));
    layout.pageFooter = std::move(footer);
    return layout;
}

Group titleGroup(std::vector<Element> headings, Band total) {
    Group group;
    group.header = makeBand(QStringLiteral("QRGroup1"), Band::Kind::GroupHeader, titleHeight + headingHeight);
    group.header.elements.push_back(shade(0, 0, bodyWidth, titleHeight, titleShade));
    Element title = label(QStringLiteral("QRLabel1"), 0, bodyWidth, QString(), Align::Left, Font{10, true});
    title.height = titleHeight;
    group.header.elements.push_back(std::move(title));
    for (Element& e : headings) group.header.elements.push_back(std::move(e));
    group.children.push_back(makeBand(QStringLiteral("QRChildBand1"), Band::Kind::Child, 0.5));
    group.footer = std::move(total);
    return group;
}

Element heading(double x, double width, const QString& text) {
    Element e = label(text, x, width, text, Align::Left, bold);
    e.y = titleHeight;
    return e;
}

Group keyGroup(const QString& name, const QString& field, bool shaded, Band footer) {
    Group group;
    group.header = makeBand(name, Band::Kind::GroupHeader, rowHeight + 0.5);
    if (shaded) group.header.shading = firstLevelShade;
    group.header.elements.push_back(reportengine::field(field, 0, bodyWidth, field, Align::Left, Font{10, true}));
    group.key = [field](const RowView& row) { return row.value(field); };
    group.footer = std::move(footer);
    return group;
}

Band subtotalBand(const QString& name, std::vector<Element> sums) {
    return makeBand(name, Band::Kind::GroupFooter, footerHeight, std::move(sums));
}

Element subtotal(const QString& band, double x, double width, const QString& field, const QString& mask) {
    Element e = sum(band + u'.' + field, x, width, field, true, Align::Center, bold);
    e.mask = mask;
    return e;
}

Band totalBand(double labelX, std::vector<Element> sums) {
    Band band = makeBand(QStringLiteral("QRBand2"), Band::Kind::GroupFooter, totalHeight);
    band.shading = totalShade;
    // Everything on the band sits inside its boxes' top and bottom edges.
    Element caption = label(QStringLiteral("Итого:"), labelX, 20, QStringLiteral("Итого:"), Align::Left, bold);
    caption.y = 0.5;
    caption.height = totalHeight - 1;
    band.elements.push_back(std::move(caption));
    for (Element& e : sums) {
        Element box = shade(e.x, 0.5, e.width, totalHeight - 1, totalBoxShade);
        band.elements.push_back(box);
        e.y = 0.5;
        e.height = totalHeight - 1;
        band.elements.push_back(std::move(e));
    }
    return band;
}

Element total(double x, double width, const QString& field, const QString& mask) {
    Element e = sum(QStringLiteral("QRBand2.") + field, x, width, field, false, Align::Center, bold);
    e.mask = mask;
    return e;
}

Element paddedTextField(const QString& field, double x, double width, Align align) {
    return expression(field, x, width, [field](const RowView& row) -> QVariant {
        const QVariant value = row.value(field);
        if (value.isNull()) return value;
        QString text = value.toString();
        while (text.endsWith(u' ')) text.chop(1);
        return text;
    }, align);
}

Band detailBand(std::vector<Element> elements) {
    return makeBand(QStringLiteral("QRBand5"), Band::Kind::Detail, rowHeight, std::move(elements));
}

QVariant productKindText(const RowView& row) {
    return IF(row.number(QStringLiteral("naimen")).isZero(), QStringLiteral("Готовая продукция"),
              QStringLiteral("Заготовки"));
}

QVariant colorText(const RowView& row) {
    const data::Decimal color = row.number(QStringLiteral("color"));
    const data::Decimal one = data::Decimal::fromInteger(1);
    if (color.isNegative() || color.isZero()) return QStringLiteral(" ");
    if (color == one) return QStringLiteral(" (грунт)");
    return QString(QStringLiteral(" (RAL: ") + STR(row.value(QStringLiteral("color"))) + u')');
}

}  // namespace reports
