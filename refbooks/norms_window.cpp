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
#include <QKeyEvent>
#include <QLayout>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QVBoxLayout>
#include <limits>

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
        if (window_.norm.isEditing() && section == window_.norm.recNo() - 1) return QStringLiteral("I");
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
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    DBGrid1->setTabKeyNavigation(true);
    DBGrid1->verticalHeader()->setFixedWidth(16);
    DBGrid1->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    int width = 16 + 4;
    for (int column = 0; column < refbooks::normColumnCount; ++column) {
        DBGrid1->setColumnWidth(column, refbooks::normColumns[column].width);
        width += refbooks::normColumns[column].width;
    }
    DBGrid1->setMinimumSize(width + 20, 240);

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
    if (!norm.isOpen() || column < 0 || column >= refbooks::normColumnCount || row < 0 || row > norm.recordCount())
        return false;
    if (text == model_->text(row, column)) return false;   // nothing changed: nothing to store
    if (!enterRow(row)) return false;
    norm.setFieldValue(refbooks::fieldOf(column), text);
    model_->rowChanged(pendingRow());
    // Leaving the column stores the row.
    if (!storePending()) return false;
    showRow(norm.field(QStringLiteral("id")).value(), column);
    return true;
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

// Leaving a changed column: a new row gets the operation's id, the typed values are checked, and
// the table is refreshed, storing the row first. A value that is no number is refused with a
// message and the row stays as typed; a database error leaves it so too.
bool TForm22::storePending() {
    if (!norm.isEditing()) return true;
    if (!norm.isModified()) {
        dropPending();
        return true;
    }
    if (!convertTyped()) return false;
    if (newRow_) norm.setFieldValue(QStringLiteral("o_id"), operationId_);
    norm.post();
    newRow_ = false;
    const QVariant id = norm.field(QStringLiteral("id")).value();
    norm.reopen();
    norm.locate(QStringLiteral("id"), id);
    return true;
}

// Numbers typed with a comma or a point are the same number; an empty cell is no value.
bool TForm22::convertTyped() {
    for (int column = 0; column < refbooks::normColumnCount; ++column) {
        const QString field = refbooks::fieldOf(column);
        const QVariant value = norm.wholeField(field).value();
        if (value.typeId() != QMetaType::QString) continue;
        const QString typed = value.toString().trimmed();
        if (typed.isEmpty()) {
            norm.setFieldValue(field, QVariant());
            continue;
        }
        if (column == refbooks::priceColumn) {
            const auto price = refbooks::plainPrice(typed) ? data::Decimal::parse(typed) : std::nullopt;
            if (!price) {
                ui::showError(QStringLiteral("Цена должна быть числом, например 12,5"));
                return false;
            }
            if (!refbooks::priceKeptExactly(*price)) {
                ui::showError(QStringLiteral("Цена: не больше 15 значащих цифр"));
                return false;
            }
            norm.setFieldValue(field, QVariant::fromValue(*price));
            continue;
        }
        bool whole = false;
        const qint64 number = typed.toLongLong(&whole);
        if (!whole || !refbooks::plainDigits(typed) || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
            ui::showError(column == 0 ? QStringLiteral("Норматив должен быть целым числом")
                                      : QStringLiteral("Премия должна быть целым числом процентов"));
            return false;
        }
        norm.setFieldValue(field, int(number));
    }
    return true;
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
    if (!storePending()) return;
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

void TForm22::reject() {
    dropPending();
    ui::Form::reject();
}
