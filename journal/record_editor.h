#pragma once

#include "data/command.h"
#include "data/decimal.h"
#include "refbooks/pick_receivers.h"
#include "ui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TDataModule6;
class TForm1;
struct Roster;
namespace data { class Dataset; }
namespace ui { class DatePicker; }

// The shift record editor: adds a record to the journal's date and shift (tag 1) or changes the
// journal's current record (tag 2). The worker and the priced operation come from the reference
// lists in picker mode; the record's price is the operation's price fixed at the moment it is
// picked. Saving writes the record and the worker's day cell of the monthly timesheet together.
class TForm11 : public ui::Form, public WorkerPickReceiver, public OperationPickReceiver {
    Q_OBJECT

public:
    explicit TForm11(Roster& roster);

    QLineEdit* Edit1;            // "ФИО"
    QPushButton* Button3;        // picks the worker
    QLineEdit* Edit2;            // "Операция": mark; kind; type
    QPushButton* Button4;        // picks the operation
    QLineEdit* Edit3;            // "Кол-во"
    QLineEdit* Edit6;            // "Время"
    QLineEdit* Edit5;            // "Цвет", for paint operations only
    QLabel* Label5;              // its label, enabled with it
    ui::DatePicker* DTimeP;      // "Дата"
    QLineEdit* Edit4;            // "Брак"
    QLineEdit* Edit8;            // "Цена база"
    QLineEdit* Edit7;            // "Цена итог"
    QLineEdit* Edit9;            // "Сумма"
    QPushButton* Button1;        // "Запись"
    QPushButton* Button2;        // "Отмена"

    data::Command SmenaIU;       // the record's insert or update

    // Kept between uses; replaced by the pickers and by the change prefill.
    qint64 workerId = 0;
    qint64 operationId = 0;
    qint64 productId = 0;
    data::Decimal finalPrice;

    void openForAdd();       // the journal's "Добавить"
    void openForChange();    // the journal's "Изменить"

    void pickWorker();
    void pickOperation();
    void receiveOperation(qint64 productId, qint64 operationId, const data::Decimal& finalPrice,
                          const QString& text) override;
    void receiveWorker(const QString& fio, qint64 id) override;

    void recomputePrices();
    void Button1Click();     // "Запись"
    void formActivate() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void setColourEnabled(bool enabled);
    bool entriesComplete() const;
    bool numbersFit() const;
    TForm1& journal() const;
    int shift() const;
    data::Dataset& shiftDataset() const;
    QString duplicateCheckSql(const QString& colour) const;
    QString insertSql(const QString& price, const QString& colour) const;
    QString updateSql(const QString& price, const QString& colour) const;
    bool saveRecordAndDayCell(const QString& price, const QString& colour);
    void rereadJournal();
    void clearFields();

    Roster& roster_;
    TDataModule6& dm_;
    // The record being changed, fixed when the editor opens: the journal's current row may be
    // another record by the time "Запись" is pressed.
    qint64 changedRecordId_ = 0;
};
