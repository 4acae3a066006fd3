#include "refbooks/price_list.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "journal/journal_window.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_price.h"
#include "refbooks/pick_receivers.h"
#include "refbooks/price_editor.h"
#include "spreadsheet/program.h"
#include "spreadsheet/writers.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/hourglass.h"
#include "ui/modal.h"
#include "ui/roster.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <optional>
#include <stdexcept>

namespace {

const QString finishedProducts = QStringLiteral("Готовая продукция");
const QString blanks = QStringLiteral("Заготовки");

const QString noPrice = QStringLiteral("нет цены");

// The lowest price of an operation whose norms all lack a price (an older database may hold such
// norms) is no price at all: the list says so rather than leave the cell empty.
ui::GridColumn lowestPriceColumn() {
    ui::GridColumn column{QStringLiteral("Цена (min)"), QStringLiteral("cena"), 74};
    column.nullText = noPrice;
    return column;
}

QList<ui::GridColumn> priceColumns() {
    return {
        {QStringLiteral("Марка"), QStringLiteral("marka"), 0},
        {QStringLiteral("Опреция"), QStringLiteral("vid"), 243},   // spelt so in the design
        lowestPriceColumn(),
        {QStringLiteral("Вид"), QStringLiteral("nmn"), 139},
        {QStringLiteral("Нормы (шт.)"), QStringLiteral("norma"), 76},
        {QStringLiteral("id"), QStringLiteral("id"), 0, Qt::AlignLeft | Qt::AlignVCenter, false},
        {QStringLiteral("i_id"), QStringLiteral("i_id"), 0, Qt::AlignLeft | Qt::AlignVCenter, false},
        {QStringLiteral("oper_vid"), QStringLiteral("oper_vid"), 0, Qt::AlignLeft | Qt::AlignVCenter, false},
    };
}

const QString xlsRepSql = QStringLiteral(
    "select izdel.MARKA, vid_oper.VID, oper.NAIMEN,(SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' "
    "ELSE 'Заготовки' END)) as nmn, oper.CENA_new as cena, oper.id, oper.i_id,\n"
    " oper.VID as oper_vid from accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER where "
    "OPER.i_id=IZDEL.id \n"
    "and oper.vid=vid_oper.id order by izdel.marka, vid_oper.vid, oper.naimen");

QString productType(qint64 naimen) { return naimen == 0 ? finishedProducts : blanks; }

}  // namespace

TForm4::TForm4(Roster& roster)
    : refbooks::ReferenceList(QStringLiteral("Form4"), QStringLiteral("Операции"), roster.DataModule6->Oper,
                              priceColumns(),
                              {QStringLiteral("marka"), true, true, ui::PrefixSearch::Match::Contains}),
      XLS_Rep(roster.DataModule6->ADO_DB, xlsRepSql),
      roster_(roster),
      dm_(*roster.DataModule6) {
    XLS_Rep.setFieldSize(QStringLiteral("marka"), 50);
    XLS_Rep.setFieldSize(QStringLiteral("vid"), 50);
    XLS_Rep.setFieldSize(QStringLiteral("nmn"), 255);

    Button5 = ui::makeButton(this, QStringLiteral("Button5"), QStringLiteral("Excel"));
    CheckBox1 = new QCheckBox(QStringLiteral("Цены"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    addToButtonRow(CheckBox1);
    addToButtonRow(Button5);
    connect(Button5, &QPushButton::clicked, this, ui::guarded([this] { Button5Click(); }));
}

void TForm4::showAsList() { openAsList(); }

void TForm4::showAsPicker(OperationPickReceiver& receiver, qint64 operationId) {
    receiver_ = &receiver;
    const auto forget = qScopeGuard([this] { receiver_ = nullptr; });
    beginPicking(RecordEditorPicker);
    if (operationId != 0) dm_.Oper.locate(QStringLiteral("id"), operationId);
    ui::showModal(*this);
    // The search goes, and the row chosen stays current: the record editor reads its price.
    const QVariant chosen = dm_.Oper.isEmpty() ? QVariant() : dm_.Oper.field(QStringLiteral("id")).value();
    endPicking(AfterPicking::Restore);
    dm_.Oper.setFiltered(false);
    if (!chosen.isNull()) dm_.Oper.locate(QStringLiteral("id"), chosen);
}

// An empty list hands back nothing: an operation of id 0 would let the record editor save a
// record of no operation.
bool TForm4::handBackCurrentRow() {
    if (!receiver_ || dm_.Oper.isEmpty()) return false;
    const qint64 productId = dm_.Oper.field(QStringLiteral("i_id")).asInteger();
    const qint64 operationId = dm_.Oper.field(QStringLiteral("id")).asInteger();
    const data::Decimal price = finalPrice();
    receiver_->receiveOperation(productId, operationId, price, operationText(productId));
    return true;
}

// The lowest norm price, doubled on a day off, then raised for shift 3 or overtime.
data::Decimal TForm4::finalPrice() const {
    return refbooks::raisedPrice(dm_.Oper.field(QStringLiteral("cena")).asDecimal(), roster_.Form1->CBox1->isChecked(),
                       roster_.Form1->selectedShift);
}

// "mark; kind; type", the mark read from the products themselves.
QString TForm4::operationText(qint64 productId) {
    data::Dataset& control = dm_.Control;
    control.close();
    control.setSql(QStringLiteral("select marka from accounts_dep.izdel where id=") + sql::integer(productId));
    control.open();
    QString text = control.field(QStringLiteral("marka")).asString().trimmed() + QStringLiteral("; ");
    control.close();
    return text + dm_.Oper.wholeField(QStringLiteral("vid")).asString().trimmed() + QStringLiteral("; ") +
           productType(dm_.Oper.field(QStringLiteral("naimen")).asInteger());
}

// An operation without a price would give its records a price of nothing: the user is told, and
// the list stays open for another choice.
bool TForm4::mayHandBackCurrentRow() {
    if (dm_.Oper.isEmpty() || !dm_.Oper.field(QStringLiteral("cena")).isNull()) return true;
    ui::showError(QStringLiteral("У операции нет цены: ни у одной её нормы цена не задана"));
    return false;
}

void TForm4::add() {
    TForm10& editor = *roster_.Form10;
    editor.Edit1->clear();
    editor.Edit2->clear();
    editor.ComboBox1->setCurrentIndex(0);
    editor.setWindowTitle(QStringLiteral("Заведение новой цены за операцию"));
    editor.setTag(1);
    if (ui::showModal(editor) != QDialog::Accepted || editor.createdOperationId() == 0) return;
    addFirstNorm(editor.createdOperationId());
}

// A priced operation shows in the list only once it has a norm, so its norms open as soon as it is
// saved. One that is left without a norm could be neither seen nor entered again (its combination
// is taken): it is taken back, and the user is told.
void TForm4::addFirstNorm(qint64 operationId) {
    roster_.Form22->showNormsOf(operationId);
    data::Dataset& control = dm_.Control;
    control.close();
    control.setSql(QStringLiteral("select count(*) as cnt from accounts_dep.norm where o_id=") +
                   sql::integer(operationId));
    control.open();
    const qint64 norms = control.field(QStringLiteral("cnt")).asInteger();
    control.close();
    if (norms == 0) {
        dm_.Oper_del.setParam(QStringLiteral("id"), operationId);
        dm_.Oper_del.execute();
        ui::dialogs().message(QStringLiteral("Операция не заведена: у неё нет ни одной нормы, "
                                             "а без нормы её не видно в списке цен."),
                              windowTitle(), ui::Icon::Information);
        return;
    }
    dm_.Oper.reopen();
    dm_.Oper.locate(QStringLiteral("id"), operationId);
}

void TForm4::change() {
    TForm10& editor = *roster_.Form10;
    editor.setWindowTitle(QStringLiteral("Изменение данных о цене за операцию"));
    editor.setTag(2);
    // The boxes show the whole names: the list cuts them to its columns.
    editor.Edit1->setText(dm_.Oper.wholeField(QStringLiteral("marka")).asString().trimmed());
    editor.Edit2->setText(dm_.Oper.wholeField(QStringLiteral("vid")).asString().trimmed());
    // Every type but 0 reads as "Заготовки", and is saved so.
    editor.ComboBox1->setCurrentIndex(dm_.Oper.field(QStringLiteral("naimen")).asInteger() == 0 ? 0 : 1);
    editor.productId = dm_.Oper.field(QStringLiteral("i_id")).asInteger();
    editor.kindId = dm_.Oper.field(QStringLiteral("oper_vid")).asInteger();
    editor.operationId = dm_.Oper.field(QStringLiteral("id")).asInteger();
    ui::showModal(editor);
}

void TForm4::remove() {
    if (!ui::confirmDelete(QStringLiteral("Удалить операцию?"))) return;
    dm_.Oper_del.setParam(QStringLiteral("id"), dm_.Oper.field(QStringLiteral("id")).asInteger());
    dm_.Oper_del.execute();
    dm_.Oper.reopen();
}

void TForm4::DBGrid1DblClick() {
    if (!CheckBox1->isChecked() || tag() != ListMode) {
        Button2Click();
        return;
    }
    if (dm_.Oper.isEmpty()) return;
    roster_.Form22->showNormsOf(dm_.Oper.field(QStringLiteral("id")).asInteger());
}

void TForm4::Button5Click() {
    std::optional<ui::HourglassCursor> hourglass(std::in_place);
    XLS_Rep.reopen();
    const auto closeQuery = qScopeGuard([this] { XLS_Rep.close(); });
    spreadsheet::BasicWriter& writer = spreadsheet::basicWriter();
    hourglass.reset();   // the writer's messages come with the normal cursor
    if (writer.OpenWorkbook(QString()) == -1) return;
    hourglass.emplace();

    XLS_Rep.first();
    writer.WriteCell(1, 1, 1, QStringLiteral("Марка"));
    writer.WriteCell(1, 2, 1, QStringLiteral("Операция"));
    writer.WriteCell(1, 3, 1, QStringLiteral("Цена"));
    writer.WriteCell(1, 4, 1, QStringLiteral("Вид"));
    for (int record = 1; record <= XLS_Rep.recordCount(); ++record) {
        XLS_Rep.setRecNo(record);
        const int row = record + 1;
        // Whole names, as stored: the list cuts them to its columns, and a mark such as "007" is
        // a name, not a number.
        writer.WriteCell(1, 1, row, XLS_Rep.wholeField(QStringLiteral("marka")).asString());
        writer.WriteCell(1, 2, row, XLS_Rep.wholeField(QStringLiteral("vid")).asUnpaddedString());
        writer.WriteCell(1, 3, row, spreadsheet::CellValue::number(XLS_Rep.field(QStringLiteral("cena")).asDecimal()));
        writer.WriteCell(1, 4, row, productType(XLS_Rep.field(QStringLiteral("naimen")).asInteger()));
    }
    writer.SetExcelVisible(true);
}
