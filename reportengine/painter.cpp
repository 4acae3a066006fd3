#include "reportengine/painter.h"

#include "reportengine/whole_file.h"

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
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

namespace {

// The report's sheet: A4 in its orientation, all of it to paint on.
QPageLayout sheetLayout(const PreparedReport& report) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       report.page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

}  // namespace

void setUpPrinter(const PreparedReport& report, QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(sheetLayout(report));
}

namespace {

// Paints every page on a device begun by `painter`, one sheet after the other; false when the
// device would not take another sheet.
bool paintAllPages(const PreparedReport& report, QPagedPaintDevice& device, int resolution, QPainter& painter) {
    const QRectF sheet(QPointF(0, 0), device.pageLayout().fullRectPixels(resolution).size());
    for (int i = 0; i < int(report.pages.size()); ++i) {
        if (i > 0 && !device.newPage()) return false;
        paintPage(report, i, painter, sheet);
    }
    return true;
}

QString printerRefusal(const QPrinter& printer, const QString& cause) {
    const QString name = printer.printerName();
    return name.isEmpty() ? QStringLiteral("Не удалось напечатать отчёт: %1").arg(cause)
                          : QStringLiteral("Не удалось напечатать отчёт на принтере «%1»: %2").arg(name, cause);
}

// The whole PDF, made in memory so that nothing reaches the disk before it is complete.
QByteArray pdfBytes(const PreparedReport& report) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(sheetLayout(report));
        QPainter painter;
        if (!painter.begin(&writer) || !paintAllPages(report, writer, writer.resolution(), painter) || !painter.end())
            throw OutputError(QStringLiteral("Не удалось составить PDF отчёта"));
    }
    return buffer.data();
}

}  // namespace

void print(const PreparedReport& report, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) throw OutputError(printerRefusal(printer, QStringLiteral("принтер не принял задание")));
    const bool allPages = paintAllPages(report, printer, printer.resolution(), painter);
    const bool ended = painter.end();
    if (!allPages || !ended || printer.printerState() == QPrinter::Error)
        throw OutputError(printerRefusal(printer, QStringLiteral("печать прервана, принтер сообщил об ошибке")));
}

void savePdf(const PreparedReport& report, const QString& path) {
    const QByteArray pdf = pdfBytes(report);
    try {
        writeWholeFile(path, pdf);
    } catch (const FileError& e) {
        throw OutputError(QStringLiteral("Не удалось записать файл %1: %2")
                              .arg(QDir::toNativeSeparators(path), refusalReason(e.error())));
    }
}

}  // namespace reportengine
