#pragma once

#include "reportengine/prepared_report.h"

#include <QString>
#include <stdexcept>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

// Prepared pages on paper, in a PDF file or on screen: one way of drawing for all of them.
namespace reportengine {

// Draws page `index` filling `target` (device pixels), which stands for the whole sheet.
void paintPage(const PreparedReport& report, int index, QPainter& painter, const QRectF& target);

// Sets the printer to the report's sheet (A4, its orientation, the whole sheet as paint area).
void setUpPrinter(const PreparedReport& report, QPrinter& printer);

// Why the pages did not reach the paper or the file, in the words the user is told.
class OutputError : public std::runtime_error {
public:
    explicit OutputError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Prints every page on a printer set up for the report. Throws OutputError when the printer does
// not take the job or stops taking pages.
void print(const PreparedReport& report, QPrinter& printer);

// Writes every page to a PDF file, whole or not at all: a file of that name stays as it was when
// the new one cannot be written completely. Throws OutputError naming the file and the reason.
void savePdf(const PreparedReport& report, const QString& path);

}  // namespace reportengine
