#include "reportengine/painter.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace reportengine {

namespace {

int alignmentFlags(Align align) {
    switch (align) {
    case Align::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QFont fontOf(const Font& font, double pixelsPerMm) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, qRound(font.pointSize * 25.4 / 72.0 * pixelsPerMm)));
    f.setBold(font.bold);
    return f;
}

}  // namespace

void paintPage(const PreparedReport& report, int index, QPainter& painter, const QRectF& target) {
    const double sx = target.width() / report.page.width();
    const double sy = target.height() / report.page.height();
    auto toDevice = [&](const QRectF& mm) {
        return QRectF(target.left() + mm.left() * sx, target.top() + mm.top() * sy, mm.width() * sx, mm.height() * sy);
    };
    painter.save();
    for (const PlacedItem& item : report.pages.at(index).items) {
        const QRectF r = toDevice(item.rect);
        switch (item.kind) {
        case PlacedItem::Kind::Shade: painter.fillRect(r, item.color); break;
        case PlacedItem::Kind::Line: {
            QPen pen(item.color, std::max(1.0, 0.2 * sx), item.pen);
            painter.setPen(pen);
            painter.drawLine(r.topLeft(), r.bottomRight());
            break;
        }
        case PlacedItem::Kind::Text:
            painter.setPen(item.color);
            painter.setFont(fontOf(item.font, sx));
            painter.save();
            painter.setClipRect(r);   // a long text is cut at its column
            painter.drawText(r, alignmentFlags(item.align), item.text);
            painter.restore();
            break;
        }
    }
    painter.restore();
}

void setUpPrinter(const PreparedReport& report, QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      report.page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF()));
}

void print(const PreparedReport& report, QPrinter& printer) {
    QPainter painter(&printer);
    const QRectF sheet = printer.pageLayout().fullRectPixels(printer.resolution());
    for (int i = 0; i < int(report.pages.size()); ++i) {
        if (i > 0) printer.newPage();
        paintPage(report, i, painter, QRectF(QPointF(0, 0), sheet.size()));
    }
}

bool savePdf(const PreparedReport& report, const QString& path) {
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    setUpPrinter(report, printer);
    print(report, printer);
    return true;
}

}  // namespace reportengine
