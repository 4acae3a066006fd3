#include "spreadsheet/writers.h"

#include "spreadsheet/application.h"
#include "ui/dialogs.h"

namespace spreadsheet {
namespace {

void showError(const QString& text, const QString& caption) {
    ui::dialogs().message(text, caption, ui::Icon::Error);
}

// "Ошибка при записи: лист 1, столбец 3, строка 2", composed only when it is shown.
QString writeErrorText(int sheet, int column, int row) {
    return QStringLiteral("Ошибка при записи: лист %1, столбец %2, строка %3").arg(sheet).arg(column).arg(row);
}

}  // namespace

int Writer::OpenWorkbook(const QString& path) {
    if (std::shared_ptr<Application> running = launcher_.attach()) {
        application_ = std::move(running);
    } else {
        try {
            application_ = launcher_.start();
        } catch (const Error&) {
            // Carries on with the handle as it was: empty on the first use.
            showError(QStringLiteral("Невозможно открыть Microsoft Excel."), ui::errorCaption);
        }
    }
    try {
        if (!application_) throw Error(QStringLiteral("Нет приложения"));
        if (path.isEmpty()) application_->addWorkbook();
        else application_->openWorkbook(path);
    } catch (const Error&) {
        showError(QStringLiteral("Ошибка открытия файла Microsoft Excel."), ui::errorCaption);
        return -1;
    }
    return 1;
}

int Writer::SetExcelVisible(bool visible) {
    if (!application_) return 1;
    try {
        application_->setVisible(visible);
    } catch (const Error& e) {
        ui::dialogs().standardError(e.message());
    }
    return 1;
}

int Writer::write(int sheet, int column, int row, const CellValue& value, const Formatting* formatting) {
    if (value.isEmpty()) return 1;
    Worksheet* worksheet = nullptr;
    try {
        if (!application_) throw Error(QStringLiteral("Нет приложения"));
        worksheet = &application_->worksheet(sheet);
    } catch (const Error&) {
        showError(writeErrorText(sheet, column, row), QStringLiteral("Ошибочный номер листа Microsoft Excel"));
        return -1;
    }
    try {
        Cell& cell = worksheet->cell(row, column);
        if (formatting && formatting->asText) worksheet->setNumberFormat(cell, textFormat);
        worksheet->setValue(cell, column, value);
        if (formatting && formatting->autoFit) worksheet->autoFit(column);
        if (formatting) cell.bold = formatting->bold;
    } catch (const Error&) {
        showError(writeErrorText(sheet, column, row), QStringLiteral("Ошибка Microsoft Excel"));
        return -1;
    }
    return 1;
}

int BasicWriter::WriteCell(int sheet, int column, int row, const CellValue& value) {
    return write(sheet, column, row, value, nullptr);
}

int FormattingWriter::WriteCell(int sheet, int column, int row, const CellValue& value, bool asText,
                                bool autoFit, bool bold) {
    const Formatting formatting{asText, autoFit, bold};
    return write(sheet, column, row, value, &formatting);
}

}  // namespace spreadsheet
