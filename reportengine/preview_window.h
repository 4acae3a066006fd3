#pragma once

#include "reportengine/prepared_report.h"
#include "ui/form.h"

#include <functional>

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
    // Each false after one message naming the cause: a printer that did not take the job, a file
    // that could not be written completely.
    bool printOn(QPrinter& printer);            // a printer chosen in the print dialog
    bool saveAsPdf(const QString& path);

private:
    bool outputOrTellWhy(const std::function<void()>& output);

    PreparedReport report_;
    QPrinter* printer_;
};

}  // namespace reportengine
