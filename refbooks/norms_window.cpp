#include "refbooks/norms_window.h"

#include "data/data_module.h"
#include "data/field.h"
#include "data/sql_text.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/modal.h"
#include "ui/roster.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <limits>
#include <optional>

namespace refbooks {
namespace {

// The grid's columns: field, title, width.
struct NormColumn {
    const char* field;
    QString title;
    int width;
};
const NormColumn normColumns[] = {
    {"norma", QStringLiteral("Норматив"), 133},
    {"price", QStringLiteral("Цена"), 105},
    {"prize", QStringLiteral("Премия, %"), 82},
};
constexpr int normColumnCount = 3;
constexpr int priceColumn = 1;

QString fieldOf(int column) { return QString::fromLatin1(normColumns[column].field); }

// What a norm's cells take: digits, and for the price one separator among them. No sign, no
// exponent: a norm is never negative, and what is stored is what was typed.
bool plainDigits(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(text).hasMatch();
}
bool plainPrice(const QString& text) {
    static const QRegularExpression price(QStringLiteral("^([0-9]+[.,]?[0-9]*|[.,][0-9]+)$"));
    return price.match(text).hasMatch();
}

// The price column is a binary floating-point number: it keeps 15 significant digits exactly and
// would store a longer price changed.
constexpr int priceDigits = 15;
bool priceKeptExactly(const data::Decimal& price) {
    const QString digits = price.toString().remove(u'.').remove(u'-');
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == u'0') ++first;
    return digits.size() - first <= priceDigits;
}

// A value typed into a cell (blanks trimmed, not empty) as the column stores it, or what is wrong
// with it. Numbers typed with a comma or a point are the same number.
struct TypedValue {
    QVariant value;
    QString problem;   // empty when the value is taken
};
TypedValue typedValue(int column, const QString& typed) {
    if (column == priceColumn) {
        const auto price = plainPrice(typed) ? data::Decimal::parse(typed) : std::nullopt;
        if (!price) return {{}, QStringLiteral("Цена должна быть числом, например 12,5")};
        if (!priceKeptExactly(*price)) return {{}, QStringLiteral("Цена: не больше 15 значащих цифр")};
        return {QVariant::fromValue(*price), {}};
    }
    bool whole = false;
    const qint64 number = typed.toLongLong(&whole);
    if (!whole || !plainDigits(typed) || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return {{}, column == 0 ? QStringLiteral("Норматив должен быть целым числом")
                                : QStringLiteral("Премия должна быть целым числом процентов")};
    return {int(number), {}};
}

// "«Цена» и «Премия, %»": the titles of the columns left empty.
QString emptyColumnsText(const QList<int>& columns) {
    QStringList titles;
    for (const int column : columns) titles << QStringLiteral("«%1»").arg(normColumns[column].title);
    if (titles.size() == 1) return titles.front();
    const QString last = titles.takeLast();
    return titles.join(QStringLiteral(", ")) + QStringLiteral(" и ") + last;
}

QChar userDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

}  // namespace

// The norms as the grid shows them: every stored norm, the row being typed into with what was
// typed, and a last line that starts a new norm.
class NormGridModel : public QAbstractTableModel {
public:
    explicit NormGridModel(TForm22& window) : QAbstractTableModel(&window), window_(window) {
        connect(&window.norm, &data::Dataset::aboutToChangeRows, this, [this] { beginResetModel(); });
        connect(&window.norm, &data::Dataset::rowsChanged, this, [this] { endResetModel(); });
    }

    void refresh() {
        beginResetModel();
        endResetModel();
    }
    void rowChanged(int row) { emit dataChanged(index(row, 0), index(row, normColumnCount - 1)); }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !window_.norm.isOpen() ? 0 : window_.norm.recordCount() + 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : refbooks::normColumnCount; }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }

    QString text(int row, int column) const {
        const QVariant value = valueAt(row, column);
        if (value.typeId() == QMetaType::QString) return value.toString();   // typed, not stored
        return column == priceColumn ? TForm22::priceText(value) : data::displayText(value);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole) return text(index.row(), index.column());
        if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole) return false;
        bool stored = false;
        ui::runGuarded([&] { stored = window_.typeInto(index.row(), index.column(), value.toString()); });
        return stored;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal) {
            if (section < 0 || section >= refbooks::normColumnCount) return {};
            if (role == Qt::DisplayRole) return normColumns[section].title;
            if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
            return {};
        }
        if (role != Qt::DisplayRole) return {};
        // The row indicator: the line of a new norm, and the row typed into and not stored.
        if (section == window_.norm.recordCount()) return QStringLiteral("*");
        const data::Dataset& norm = window_.norm;
        if (norm.isEditing() && !norm.isInserting() && section == norm.recNo() - 1) return QStringLiteral("I");
        return QString();
    }

private:
    QVariant valueAt(int row, int column) const {
        const data::Dataset& norm = window_.norm;
        if (!norm.isOpen()) return {};
        const QString field = fieldOf(column);
        const bool pending = norm.isEditing() && (norm.isInserting() ? row == norm.recordCount()
                                                                      : row == norm.recNo() - 1);
        if (pending) return norm.wholeField(field).value();
        if (row >= norm.recordCount()) return {};
        return norm.value(row, norm.columnIndex(field));
    }

    TForm22& window_;
};

// The editor of a cell keeps Tab, Shift+Tab and Enter: they end the cell and move within the grid,
// so that none of them reaches the window's buttons while a value is being typed.
class NormCellDelegate : public QStyledItemDelegate {
public:
    explicit NormCellDelegate(TForm22& window) : QStyledItemDelegate(&window), window_(window) {}

    // Closes `editor` and hands its text to the window, which takes it and moves on.
    void finish(QWidget* editor, TForm22::Move move) {
        const auto* box = qobject_cast<QLineEdit*>(editor);
        const QString text = box ? box->text() : QString();
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        window_.cellLeft(text, move);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QStyledItemDelegate::eventFilter(object, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
        std::optional<TForm22::Move> move;
        if (key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && shift)) move = TForm22::Move{-1, true};
        else if (key->key() == Qt::Key_Tab) move = TForm22::Move{1, true};
        else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) move = TForm22::Move{1, false};
        if (!move) return QStyledItemDelegate::eventFilter(object, event);
        auto* editor = qobject_cast<QWidget*>(object);
        ui::runGuarded([&] { finish(editor, *move); });
        return true;
    }

private:
    TForm22& window_;
};

}  // namespace refbooks

TForm22::TForm22(Roster& roster)
    : ui::Form(QStringLiteral("Form22"), QStringLiteral("Норматив")),
      norm(roster.DataModule6->ADO_DB, QStringLiteral("select * from accounts_dep.norm order by norma")),
      roster_(roster),
      dm_(*roster.DataModule6) {
    // Each showing opens the table for its operation; it is not read at start-up, where nothing
    // would look at it.
    norm.setUpdateTable(QStringLiteral("accounts_dep.norm"), {QStringLiteral("id")});
    buildControls();
}

void TForm22::buildControls() {
    model_ = new refbooks::NormGridModel(*this);
    delegate_ = new refbooks::NormCellDelegate(*this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(model_);
    DBGrid1->setItemDelegate(delegate_);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    DBGrid1->setTabKeyNavigation(true);
    DBGrid1->verticalHeader()->setFixedWidth(16);
    DBGrid1->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // A click on a title would move to another row past the check of a pending one.
    DBGrid1->verticalHeader()->setSectionsClickable(false);
    DBGrid1->horizontalHeader()->setSectionsClickable(false);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    int width = 16 + 4;
    for (int column = 0; column < refbooks::normColumnCount; ++column) {
        DBGrid1->setColumnWidth(column, refbooks::normColumns[column].width);
        width += refbooks::normColumns[column].width;
    }
    DBGrid1->setMinimumSize(width + 20, 240);
    DBGrid1->viewport()->installEventFilter(this);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ui::runGuarded([&] { keepToPendingRow(current.row()); }); });

    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Сохранить"));
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Удалить"));
    Button1->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
}

QString TForm22::priceText(const QVariant& price) {
    if (price.typeId() == QMetaType::QString) return price.toString();
    const auto exact = data::decimalOf(price);
    if (!exact) return QString();
    const data::Decimal shown = exact->rounded(3);
    const QChar separator = refbooks::userDecimalSeparator();
    return shown.scale() <= 2 ? shown.toFixed(2, separator) : shown.toString(separator);
}

int TForm22::showNormsOf(qint64 operationId) {
    operationId_ = operationId;
    newRow_ = false;
    norm.close();
    norm.setFilter(QStringLiteral("o_id=") + sql::integer(operationId));
    norm.setFiltered(true);
    norm.open();
    DBGrid1->setCurrentIndex(model_->index(0, 0));
    return ui::showModal(*this);
}

void TForm22::formActivate() {
    DBGrid1->setFocus();
    if (!DBGrid1->currentIndex().isValid()) DBGrid1->setCurrentIndex(model_->index(0, 0));
}

int TForm22::pendingRow() const {
    if (!norm.isEditing()) return -1;
    return norm.isInserting() ? norm.recordCount() : norm.recNo() - 1;
}

bool TForm22::typeInto(int row, int column, const QString& text) {
    const Typed typed = take(row, column, text);
    return typed == Typed::Pending || typed == Typed::Stored;
}

// The value goes into its row, which is stored once every cell holds a number. A value that is no
// number is refused with a message and kept as typed, so that the user sees and mends it.
TForm22::Typed TForm22::take(int row, int column, const QString& text) {
    if (!norm.isOpen() || column < 0 || column >= refbooks::normColumnCount || row < 0 || row > norm.recordCount())
        return Typed::Refused;
    if (text == model_->text(row, column)) return Typed::Unchanged;
    if (!enterRow(row)) return Typed::Refused;
    norm.setFieldValue(refbooks::fieldOf(column), text);
    model_->rowChanged(pendingRow());
    const QString typed = text.trimmed();
    const QString problem = typed.isEmpty() ? QString() : refbooks::typedValue(column, typed).problem;
    if (!problem.isEmpty()) {
        ui::showError(problem);
        return Typed::Refused;
    }
    if (!pendingProblem().text.isEmpty()) return Typed::Pending;
    storePending();
    showRow(norm.field(QStringLiteral("id")).value(), column);
    return Typed::Stored;
}

// A key ended the edit of the current cell with `text` in it. A refused value goes back into its
// cell's editor; otherwise the cursor moves on, and a row that cannot be left keeps it.
void TForm22::cellLeft(const QString& text, Move move) {
    const QModelIndex cell = DBGrid1->currentIndex();
    if (!cell.isValid()) return;
    const bool newRow = cell.row() == norm.recordCount();
    const Typed typed = take(cell.row(), cell.column(), text);
    if (typed == Typed::Refused) {
        const QModelIndex again = model_->index(pendingRow() >= 0 ? pendingRow() : cell.row(), cell.column());
        DBGrid1->setCurrentIndex(again);
        DBGrid1->edit(again);
        return;
    }
    moveFrom(DBGrid1->currentIndex(), newRow && typed == Typed::Stored, move);
}

// From the last cell of a row the cursor goes to the first of the next; after a new norm is stored
// that is the line of the next new norm, wherever the stored one was sorted to.
void TForm22::moveFrom(const QModelIndex& cell, bool storedNewRow, Move move) {
    int row = cell.row();
    int column = cell.column() + move.step;
    if (column >= refbooks::normColumnCount) {
        column = 0;
        row = storedNewRow ? norm.recordCount() : row + 1;
    } else if (column < 0) {
        column = refbooks::normColumnCount - 1;
        row -= 1;
    }
    if (row != cell.row() && !keepToPendingRow(row)) {
        if (move.edit) DBGrid1->edit(DBGrid1->currentIndex());
        return;
    }
    if (row < 0 || row >= model_->rowCount()) return;
    DBGrid1->setCurrentIndex(model_->index(row, column));
    if (move.edit) DBGrid1->edit(DBGrid1->currentIndex());
}

// A value still in a cell's editor goes into its row, as when the cell is left.
void TForm22::finishCellEdit() {
    QWidget* editor = DBGrid1->indexWidget(DBGrid1->currentIndex());
    if (editor) delegate_->finish(editor, Move{0, false});
}

// Entering a column: the line of a new norm starts a new row, any other row is edited. A row typed
// into and not stored is stored first; when it cannot be, the other row is not entered.
bool TForm22::enterRow(int row) {
    const int pending = pendingRow();
    if (pending == row) return true;
    if (pending >= 0) {
        const bool newLine = row == norm.recordCount();
        const QVariant id = newLine ? QVariant() : norm.value(row, norm.columnIndex(QStringLiteral("id")));
        if (!storePending()) return false;
        if (newLine) row = norm.recordCount();
        else if (norm.locate(QStringLiteral("id"), id)) row = norm.recNo() - 1;
        else return false;   // gone meanwhile
    }
    if (row == norm.recordCount()) {
        norm.append();
        newRow_ = true;
    } else {
        norm.setRecNo(row + 1);
        norm.edit();
        newRow_ = false;
    }
    return true;
}

// A pending row is stored only whole: a new row gets the operation's id, and the table is refreshed,
// storing the row first. A row with an empty cell or a value that is no number is not stored: the
// user is told what to mend and the row stays as typed; a database error leaves it so too.
bool TForm22::storePending() {
    if (!norm.isEditing()) return true;
    if (!norm.isModified()) {
        dropPending();
        return true;
    }
    const Problem problem = pendingProblem();
    if (!problem.text.isEmpty()) {
        ui::showError(problem.text);
        return false;
    }
    convertTyped();
    if (newRow_) norm.setFieldValue(QStringLiteral("o_id"), operationId_);
    norm.post();
    newRow_ = false;
    const QVariant id = norm.field(QStringLiteral("id")).value();
    norm.reopen();
    norm.locate(QStringLiteral("id"), id);
    return true;
}

// A value that is no number comes first; then the cells left empty, which a norm read from an older
// database may have as well.
TForm22::Problem TForm22::pendingProblem() const {
    if (!norm.isEditing()) return {};
    QList<int> empty;
    for (int column = 0; column < refbooks::normColumnCount; ++column) {
        const QVariant value = norm.wholeField(refbooks::fieldOf(column)).value();
        if (value.typeId() != QMetaType::QString) {
            if (value.isNull()) empty << column;
            continue;
        }
        const QString typed = value.toString().trimmed();
        if (typed.isEmpty()) {
            empty << column;
            continue;
        }
        const QString problem = refbooks::typedValue(column, typed).problem;
        if (!problem.isEmpty()) return {problem, column};
    }
    if (empty.isEmpty()) return {};
    return {QStringLiteral("Норма не записана: заполните ") + refbooks::emptyColumnsText(empty), empty.front()};
}

void TForm22::convertTyped() {
    for (int column = 0; column < refbooks::normColumnCount; ++column) {
        const QString field = refbooks::fieldOf(column);
        const QVariant value = norm.wholeField(field).value();
        if (value.typeId() == QMetaType::QString)
            norm.setFieldValue(field, refbooks::typedValue(column, value.toString().trimmed()).value);
    }
}

// The cursor may not leave a pending row that cannot be stored: the user is told what is missing
// and the cursor goes back to that cell. True when it may go to `wantedRow`.
bool TForm22::keepToPendingRow(int wantedRow) {
    const int pending = pendingRow();
    if (keepingToPendingRow_ || pending < 0 || wantedRow == pending) return true;
    const Problem problem = pendingProblem();
    if (problem.text.isEmpty()) return true;
    keepingToPendingRow_ = true;
    const auto done = qScopeGuard([this] { keepingToPendingRow_ = false; });
    ui::showError(problem.text);
    goToProblem(problem);
    return false;
}

void TForm22::goToProblem(const Problem& problem) {
    const int pending = pendingRow();
    if (pending >= 0) DBGrid1->setCurrentIndex(model_->index(pending, problem.column));
}

void TForm22::dropPending() {
    if (!norm.isEditing()) return;
    norm.cancel();
    newRow_ = false;
    model_->refresh();
}

void TForm22::showRow(const QVariant& id, int column) {
    if (!id.isNull()) norm.locate(QStringLiteral("id"), id);
    const int row = norm.isEmpty() ? 0 : norm.recNo() - 1;
    DBGrid1->setCurrentIndex(model_->index(row, column));
}

// The grid's current row goes, unless it is the operation's last norm; the table is refreshed.
void TForm22::Button2Click() {
    const QModelIndex current = DBGrid1->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    dropPending();
    if (norm.recordCount() > 1 && current.isValid() && current.row() < norm.recordCount()) {
        norm.setRecNo(current.row() + 1);
        norm.deleteCurrent();
    }
    const int row = norm.recNo();
    norm.reopen();
    norm.setRecNo(row);
    DBGrid1->setCurrentIndex(model_->index(std::max(0, norm.recNo() - 1), column));
}

void TForm22::Button1Click() {
    finishCellEdit();
    if (!storePending()) {
        goToProblem(pendingProblem());
        return;
    }
    // The price list counts the norms and finds the lowest price again, on the same row.
    data::Dataset& oper = dm_.Oper;
    const int row = oper.recNo();
    oper.reopen();
    oper.setRecNo(row);
    accept();
}

void TForm22::keyPressEvent(QKeyEvent* event) {
    // "Сохранить" is the cancel button as well: Escape saves.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Button1->click();
        return;
    }
    ui::Form::keyPressEvent(event);
}

// A click on another row is refused before the grid moves there, as a key is.
bool TForm22::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == DBGrid1->viewport() && press) {
        const QModelIndex clicked = DBGrid1->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        bool stays = false;
        ui::runGuarded([&] { stays = clicked.isValid() && !keepToPendingRow(clicked.row()); });
        if (stays) return true;
    }
    return ui::Form::eventFilter(watched, event);
}

// The close box leaves what was typed into an open cell, as Escape in the cell does. A pending row
// goes only when the user agrees; otherwise the window stays on it.
void TForm22::reject() {
    if (QWidget* editor = DBGrid1->indexWidget(DBGrid1->currentIndex()))
        emit delegate_->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    if (norm.isModified()) {
        const Problem problem = pendingProblem();
        const QString what = problem.text.isEmpty() ? QStringLiteral("Норма не записана") : problem.text;
        if (!ui::dialogs().question(what + QStringLiteral("\n\nЗакрыть окно, не записывая эту норму?"), windowTitle())) {
            goToProblem(problem);
            return;
        }
    }
    dropPending();
    ui::Form::reject();
}
