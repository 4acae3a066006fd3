#pragma once

#include "reportengine/prepared_report.h"
#include "ui/form.h"

class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace reportengine {

// The preview of prepared pages, opened maximised at the layout's zoom. From it the user prints,
// or saves the pages straight to a PDF file. The pages stay here after the report's dataset
// is closed.
class PreviewWindow : public ui::Form {
    Q_OBJECT

public:
    explicit PreviewWindow(QWidget* parent = nullptr);
    ~PreviewWindow() override;

    void setReport(PreparedReport report);
    const PreparedReport& report() const { return report_; }

    QPrintPreviewWidget* Preview;
    QPushButton* PrintButton;   // "Печать"
    QPushButton* PdfButton;     // "PDF"
    QPushButton* CloseButton;   // "Закрыть"

    void printClick();                          // asks for the printer, then prints
    void pdfClick();                            // asks for the file, then saves
    bool saveAsPdf(const QString& path);        // false (and a message) when it cannot be written

private:
    PreparedReport report_;
    QPrinter* printer_;
};

}  // namespace reportengine
