#include "journal/record_editor.h"

#include "data/data_module.h"
#include "data/dataset.h"
#include "data/sql_text.h"
#include "data/transaction.h"
#include "journal/journal_window.h"
#include "journal/timesheet_day_cell.h"
#include "refbooks/operation_price.h"
#include "refbooks/price_list.h"
#include "refbooks/worker_list.h"
#include "ui/clock.h"
#include "ui/date_picker.h"
#include "ui/dialogs.h"
#include "ui/entry_checks.h"
#include "ui/guard.h"
#include "ui/modal.h"
#include "ui/roster.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

const QString allFieldsMessage = QStringLiteral("Все поля должны быть заполнены!");
const QString recordGoneMessage = QStringLiteral(
    "Изменяемая позиция не найдена: возможно, её удалили с другого рабочего места. Изменения не сохранены.");

// Paint work names its colour: the operation's text holds "КРАСКА" in any case and position.
bool isPaint(const QString& text) { return QLocale().toUpper(text).contains(QStringLiteral("КРАСКА")); }

QString productType(qint64 naimen) {
    return naimen == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки");
}

QLineEdit* makeBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

// Shown values the user does not type: no tab stop, no editing.
QLineEdit* makeReadOnlyBox(QWidget* parent, const QString& name) {
    QLineEdit* box = makeBox(parent, name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

// Counts and hours: digits only, typed or pasted.
QLineEdit* makeDigitsBox(QWidget* parent, const QString& name) {
    QLineEdit* box = makeBox(parent, name);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    return box;
}

}  // namespace

TForm11::TForm11(Roster& roster)
    : ui::Form(QStringLiteral("Form11"), QStringLiteral("Form11")),
      SmenaIU(roster.DataModule6->ADO_DB),
      roster_(roster),
      dm_(*roster.DataModule6) {
    buildControls();
}

void TForm11::buildControls() {
    Edit1 = makeReadOnlyBox(this, QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    Button3 = ui::makeButton(this, QStringLiteral("Button3"), QStringLiteral("..."));
    Edit2 = makeReadOnlyBox(this, QStringLiteral("Edit2"));
    Edit2->setMinimumWidth(360);
    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("..."));
    Edit3 = makeDigitsBox(this, QStringLiteral("Edit3"));
    Edit6 = makeDigitsBox(this, QStringLiteral("Edit6"));
    Edit6->setText(QStringLiteral("0"));
    Edit5 = makeDigitsBox(this, QStringLiteral("Edit5"));
    DTimeP = new ui::DatePicker(QStringLiteral("DTimeP"), this);
    Edit4 = makeDigitsBox(this, QStringLiteral("Edit4"));
    Edit4->setText(QStringLiteral("0"));
    Edit8 = makeReadOnlyBox(this, QStringLiteral("Edit8"));
    Edit7 = makeReadOnlyBox(this, QStringLiteral("Edit7"));
    Edit9 = makeReadOnlyBox(this, QStringLiteral("Edit9"));
    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Запись"));
    Button1->setDefault(true);
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Отмена"));
    for (QPushButton* button : {Button3, Button4}) button->setFixedWidth(28);

    auto* group = new QGroupBox(QStringLiteral("Закрыто мастером"), this);
    auto* grid = new QGridLayout(group);
    const auto label = [&](const QString& text) { return new QLabel(text, group); };
    grid->addWidget(label(QStringLiteral("ФИО")), 0, 0);
    grid->addWidget(Edit1, 0, 1, 1, 3);
    grid->addWidget(Button3, 0, 4);
    grid->addWidget(label(QStringLiteral("Операция")), 1, 0);
    grid->addWidget(Edit2, 1, 1, 1, 3);
    grid->addWidget(Button4, 1, 4);
    grid->addWidget(label(QStringLiteral("Кол-во")), 2, 0);
    grid->addWidget(Edit3, 2, 1);
    grid->addWidget(label(QStringLiteral("Дата")), 2, 2);
    grid->addWidget(DTimeP, 2, 3);
    grid->addWidget(label(QStringLiteral("Время")), 3, 0);
    grid->addWidget(Edit6, 3, 1);
    grid->addWidget(label(QStringLiteral("Брак")), 3, 2);
    grid->addWidget(Edit4, 3, 3);
    Label5 = label(QStringLiteral("Цвет"));
    grid->addWidget(Label5, 4, 0);
    grid->addWidget(Edit5, 4, 1);
    grid->addWidget(label(QStringLiteral("Цена база")), 5, 0);
    grid->addWidget(Edit8, 5, 1);
    grid->addWidget(label(QStringLiteral("Цена итог")), 5, 2);
    grid->addWidget(Edit7, 5, 3);
    grid->addWidget(label(QStringLiteral("Сумма")), 6, 2);
    grid->addWidget(Edit9, 6, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget::setTabOrder(Button3, Button4);
    QWidget::setTabOrder(Button4, Edit3);
    QWidget::setTabOrder(Edit3, Edit6);
    QWidget::setTabOrder(Edit6, Edit5);
    QWidget::setTabOrder(Edit5, DTimeP);
    QWidget::setTabOrder(DTimeP, Edit4);
    QWidget::setTabOrder(Edit4, Button1);
    QWidget::setTabOrder(Button1, Button2);

    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { pickWorker(); }));
    connect(Button4, &QPushButton::clicked, this, ui::guarded([this] { pickOperation(); }));
    connect(Edit3, &QLineEdit::editingFinished, this, [this] { recomputePrices(); });
    connect(Edit6, &QLineEdit::editingFinished, this, [this] { recomputePrices(); });
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

// A click on the worker or operation box opens its picker, as its "..." button does.
bool TForm11::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && (watched == Edit1 || watched == Edit2)) {
        ui::guarded([this, watched] { watched == Edit1 ? pickWorker() : pickOperation(); })();
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}

void TForm11::formActivate() { Button3->setFocus(); }

TForm1& TForm11::journal() const { return *roster_.Form1; }

int TForm11::shift() const {
    const int selected = journal().selectedShift;
    return selected >= 1 && selected <= 4 ? selected : 1;
}

data::Dataset& TForm11::shiftDataset() const { return dm_.smena(shift()); }

void TForm11::setColourEnabled(bool enabled) {
    if (!enabled) Edit5->clear();
    Edit5->setEnabled(enabled);
    Label5->setEnabled(enabled);
}

void TForm11::openForAdd() {
    journal().currentShiftDataset = &shiftDataset();
    changedRecordId_ = 0;
    DTimeP->setDate(journal().DateT->date());
    for (QLineEdit* box : {Edit1, Edit2, Edit3, Edit5}) box->clear();
    Edit4->setText(QStringLiteral("0"));
    Edit6->setText(QStringLiteral("0"));
    setWindowTitle(QStringLiteral("Заведение новой позиции"));
    setTag(1);
    ui::showModal(*this);
}

void TForm11::openForChange() {
    data::Dataset& records = shiftDataset();
    journal().currentShiftDataset = &records;
    const int row = records.recNo();
    if (records.isEmpty()) return;
    setWindowTitle(QStringLiteral("Изменение данных о позиции"));
    setTag(2);

    const auto field = [&](const char* name) { return records.field(QString::fromLatin1(name)); };
    changedRecordId_ = field("id").asInteger();
    finalPrice = field("cena").asDecimal();
    Edit8->clear();   // the list price of the record's operation is shown once it is picked again
    Edit7->setText(refbooks::shownPrice(finalPrice));
    Edit9->setText(refbooks::shownPrice(field("kol_vo").asDecimal().times(finalPrice).value_or(data::Decimal())));
    DTimeP->setDate(field("data").asDate());
    Edit1->setText(field("fio").asString().trimmed());
    const QString vid = field("vid").asString().trimmed();
    Edit2->setText(field("marka").asString().trimmed() + QStringLiteral("; ") + vid + QStringLiteral("; ") +
                   productType(field("naimen").asInteger()));
    Edit3->setText(field("kol_vo").asString().trimmed());
    Edit4->setText(field("brak").asString().trimmed());
    Edit6->setText(QString::number(field("time").asInteger()));
    workerId = field("w_id").asInteger();
    productId = field("i_id").asInteger();
    operationId = field("o_id").asInteger();
    setColourEnabled(isPaint(vid));
    if (isPaint(vid)) Edit5->setText(field("color").asString());

    ui::showModal(*this);
    records.setRecNo(row);
}

void TForm11::pickWorker() {
    roster_.Form5->showAsPicker(TForm5::RecordEditorPicker, *this);
}

void TForm11::pickOperation() {
    // A change starts the list on the record's own operation.
    const qint64 current = tag() == 2 ? shiftDataset().field(QStringLiteral("o_id")).asInteger() : 0;
    roster_.Form4->showAsPicker(*this, current);
    setColourEnabled(isPaint(Edit2->text()));
    recomputePrices();
}

void TForm11::receiveWorker(const QString& fio, qint64 id) {
    Edit1->setText(fio.trimmed());
    workerId = id;
}

void TForm11::receiveOperation(qint64 productId_, qint64 operationId_, const data::Decimal& price,
                               const QString& text) {
    productId = productId_;
    operationId = operationId_;
    finalPrice = price;
    Edit2->setText(text);
}

void TForm11::recomputePrices() {
    if (Edit6->text().isEmpty()) Edit6->setText(QStringLiteral("0"));
    if (Edit3->text().isEmpty()) Edit3->setText(QStringLiteral("0"));
    Edit7->setText(refbooks::shownPrice(finalPrice));
    // The list price of the operation the price list stands on: known once an operation is picked.
    const data::Dataset& oper = dm_.Oper;
    Edit8->setText(oper.isOpen() && !oper.isEmpty() ? refbooks::shownPrice(oper.field(QStringLiteral("cena")).asDecimal())
                                                    : QString());
    const auto quantity = data::Decimal::parse(Edit3->text());
    const auto sum = quantity ? quantity->times(finalPrice) : std::nullopt;
    Edit9->setText(sum ? refbooks::shownPrice(*sum) : QString());
}

// The numbers go into the statements as typed: each must be a whole number its column holds.
bool TForm11::numbersFit() const {
    const QString colour = Edit5->text().trimmed();
    return ui::wholeNumberFits(Edit3->text().trimmed(), ui::integerMin, ui::integerMax, QStringLiteral("Кол-во")) &&
           ui::wholeNumberFits(Edit4->text().trimmed(), -ui::smallintMax - 1, ui::smallintMax, QStringLiteral("Брак")) &&
           ui::wholeNumberFits(Edit6->text().trimmed(), ui::integerMin, ui::integerMax, QStringLiteral("Время")) &&
           (colour.isEmpty() || ui::wholeNumberFits(colour, ui::integerMin, ui::integerMax, QStringLiteral("Цвет")));
}

bool TForm11::entriesComplete() const {
    for (const QLineEdit* box : {Edit1, Edit2, Edit3, Edit4, Edit6})
        if (box->text().trimmed().isEmpty()) return false;
    return !(isPaint(Edit2->text()) && Edit5->text().trimmed().isEmpty());
}

void TForm11::Button1Click() {
    if (!entriesComplete()) {
        ui::showError(allFieldsMessage);
        return;
    }
    if (!numbersFit()) return;
    const QString price = sql::decimal(refbooks::roundedPrice(finalPrice));
    const QString colour = Edit5->text().trimmed().isEmpty() ? QStringLiteral("0") : Edit5->text().trimmed();
    if (dm_.CountCheck(duplicateCheckSql(colour), QStringLiteral("Позиция с такими параметрами уже заведена!")) == 1)
        return;
    if (!saveRecordAndDayCell(price, colour)) {
        // Another workstation deleted the record meanwhile: there is nothing left to change, and
        // the journal's current row is now another record, which what was typed here must not be
        // taken for. The list shows the record gone and the user adds it anew if still wanted.
        rereadJournal();
        ui::showError(recordGoneMessage);
        reject();
        return;
    }
    rereadJournal();
    for (data::Dataset* timesheet : {&dm_.H_Tabel_1, &dm_.H_Tabel_2, &dm_.H_Tabel_3}) timesheet->close();
    clearFields();
    accept();
}

// The record and the worker's day cell go in together: a failure between them leaves neither,
// and the editor keeps what was typed. A change reads the record's stored worker, date and shift
// first, with the record locked, so that the hours leave the cell they were in even when another
// workstation moved the record since the journal was read. False when the changed record is no
// longer there: nothing is written.
bool TForm11::saveRecordAndDayCell(const QString& price, const QString& colour) {
    data::Transaction transaction(dm_.ADO_DB);
    const journal::DayCell cell{workerId, shift(), DTimeP->date()};
    if (tag() == 1) {
        SmenaIU.execute(insertSql(price, colour));
        journal::writeDayCellAfterSave(dm_, cell.workerId, cell.shift, cell.day);
    } else {
        const std::optional<journal::DayCell> stored = journal::lockedRecordCell(dm_, changedRecordId_);
        if (!stored || SmenaIU.execute(updateSql(price, colour)) == 0) return false;
        journal::writeDayCellsAfterChange(dm_, *stored, cell);
    }
    transaction.commit();
    return true;
}

QString TForm11::duplicateCheckSql(const QString& colour) const {
    QString sql = QStringLiteral("select count(id) as cnt from accounts_dep.SMENA where w_id=") + sql::integer(workerId) +
                  QStringLiteral(" and o_id=") + sql::integer(operationId) + QStringLiteral(" and i_id=") +
                  sql::integer(productId) + QStringLiteral(" and data=to_date('") + sql::date(DTimeP->date()) +
                  QStringLiteral("', 'DD.MM.YYYY') and smena=") + sql::integer(shift());
    if (tag() != 1) sql += QStringLiteral(" and id<>") + sql::integer(changedRecordId_);
    return sql + QStringLiteral(" and color=") + colour;
}

QString TForm11::insertSql(const QString& price, const QString& colour) const {
    return QStringLiteral("insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
                          "time, vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(") +
           sql::integer(workerId) + QStringLiteral(", ") + sql::integer(productId) + QStringLiteral(", ") +
           sql::integer(operationId) + QStringLiteral(", ") + price + u',' + Edit3->text().trimmed() +
           QStringLiteral(", ") + Edit4->text().trimmed() + QStringLiteral(", to_date('") + sql::date(DTimeP->date()) +
           QStringLiteral("', 'DD.MM.YYYY HH24:MI:SS'), ") + sql::integer(shift()) + QStringLiteral(", ") + colour +
           QStringLiteral(", ") + Edit6->text().trimmed() + QStringLiteral(", '") + sql::date(ui::today()) +
           QStringLiteral("', '") + QStringLiteral("no") + QStringLiteral("', 0, ") + QStringLiteral("0") +
           QStringLiteral(", ") + QStringLiteral("0") + QStringLiteral(", ") + QStringLiteral("0") +
           QStringLiteral(", ") + QStringLiteral("0") + QStringLiteral(", ") + QStringLiteral("0") + u')';
}

QString TForm11::updateSql(const QString& price, const QString& colour) const {
    return QStringLiteral("update accounts_dep.SMENA set w_id=") + sql::integer(workerId) + QStringLiteral(", i_id=") +
           sql::integer(productId) + QStringLiteral(", o_id=") + sql::integer(operationId) +
           QStringLiteral(", cena=") + price + QStringLiteral(", kol_vo=") + Edit3->text().trimmed() +
           QStringLiteral(", brak=") + Edit4->text().trimmed() + QStringLiteral(", data=to_date('") +
           sql::date(DTimeP->date()) + QStringLiteral("', 'DD.MM.YYYY'), smena=") + sql::integer(shift()) +
           QStringLiteral(", color=") + colour + QStringLiteral(", time=") + Edit6->text().trimmed() +
           QStringLiteral(", vvod='") + sql::date(ui::today()) + QStringLiteral("', prize=0, id_doc=") +
           QStringLiteral("0") + QStringLiteral(", id_doc_item=") + QStringLiteral("0") +
           QStringLiteral(", f_gds_qty_use=") + QStringLiteral("0") + QStringLiteral(", id_gds_use=") +
           QStringLiteral("0") + QStringLiteral(", id_cons_use=") + QStringLiteral("0") + QStringLiteral(" where id=") +
           sql::integer(changedRecordId_);
}

void TForm11::rereadJournal() {
    data::Dataset& records = shiftDataset();
    const int row = records.recNo();
    records.reopen();
    if (records.recordCount() >= 1 && row >= 1) records.setRecNo(row);
}

void TForm11::clearFields() {
    for (QLineEdit* box : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) box->clear();
}
