#pragma once

#include "reportengine/prepared_report.h"

class QPainter;
class QPrinter;

// Prepared pages on paper, in a PDF file or on screen: one way of drawing for all of them.
namespace reportengine {

// Draws page `index` filling `target` (device pixels), which stands for the whole sheet.
void paintPage(const PreparedReport& report, int index, QPainter& painter, const QRectF& target);

// Sets the printer to the report's sheet (A4, its orientation, the whole sheet as paint area).
void setUpPrinter(const PreparedReport& report, QPrinter& printer);

// Prints every page on a printer set up for the report.
void print(const PreparedReport& report, QPrinter& printer);

// Writes every page to a PDF file; false when the file cannot be written.
bool savePdf(const PreparedReport& report, const QString& path);

}  // namespace reportengine
