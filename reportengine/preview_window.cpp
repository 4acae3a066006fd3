#include "reportengine/preview_window.h"

#include "reportengine/painter.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace reportengine {

PreviewWindow::PreviewWindow(QWidget* parent)
    : ui::Form(QStringLiteral("Preview"), QStringLiteral("Предварительный просмотр"), parent),
      printer_(new QPrinter(QPrinter::HighResolution)) {
    Preview = new QPrintPreviewWidget(printer_, this);
    Preview->setObjectName(QStringLiteral("Preview"));
    PrintButton = ui::makeButton(this, QStringLiteral("PrintButton"), QStringLiteral("Печать"));
    PdfButton = ui::makeButton(this, QStringLiteral("PdfButton"), QStringLiteral("PDF"));
    CloseButton = ui::makeButton(this, QStringLiteral("CloseButton"), QStringLiteral("Закрыть"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PrintButton);
    buttons->addWidget(PdfButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Preview, 1);

    connect(Preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        ui::runGuarded([&] { print(report_, *printer); });
    });
    connect(PrintButton, &QPushButton::clicked, this, ui::guarded([this] { printClick(); }));
    connect(PdfButton, &QPushButton::clicked, this, ui::guarded([this] { pdfClick(); }));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

PreviewWindow::~PreviewWindow() {
    delete Preview;   // it paints through the printer until it goes
    delete printer_;
}

void PreviewWindow::setReport(PreparedReport report) {
    report_ = std::move(report);
    setUpPrinter(report_, *printer_);
    Preview->updatePreview();
    if (report_.zoom == Zoom::FitWidth) Preview->fitToWidth();
    else Preview->fitInView();
    setWindowState(windowState() | Qt::WindowMaximized);
}

void PreviewWindow::printClick() {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(report_, printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printOn(printer);
}

// A printer that prints to a file makes the same PDF as the button "PDF", whole or not at all.
bool PreviewWindow::printOn(QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return saveAsPdf(printer.outputFileName());
    setUpPrinter(report_, printer);
    return outputOrTellWhy([&] { print(report_, printer); });
}

void PreviewWindow::pdfClick() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить в PDF"),
                                                      QDir::homePath(), QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty()) saveAsPdf(path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + ".pdf");
}

bool PreviewWindow::saveAsPdf(const QString& path) {
    return outputOrTellWhy([&] { savePdf(report_, path); });
}

bool PreviewWindow::outputOrTellWhy(const std::function<void()>& output) {
    try {
        output();
        return true;
    } catch (const OutputError& e) {
        ui::showError(e.message());
        return false;
    }
}

}  // namespace reportengine
