#include "utility/utility_entry_window.h"

#include "data/data_module.h"
#include "data/field.h"
#include "data/sql_text.h"
#include "refbooks/worker_list.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/lookup_box.h"
#include "ui/roster.h"
#include "utility/utility_works_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <limits>

namespace {

const QString allFieldsMessage = QStringLiteral("Все поля должны быть заполнены!");
const QString noHoursMessage = QStringLiteral("Нужно завести количество!");
const QString tooManyHoursMessage = QStringLiteral("Слишком большое количество часов!");
const QString noPriceMessage =
    QStringLiteral("У выбранного вида работы нет цены: заведите норматив для него в справочнике цен!");
const QString workGoneMessage = QStringLiteral(
    "Изменяемая работа не найдена: возможно, её удалили с другого рабочего места. Изменения не сохранены.");

const qint64 kindForNewWork = 7777;

QString typeWorkSql() {
    return QStringLiteral(
        "select vo.id, vo.vid, n.price, (n.price*:cnt) as summ from accounts_dep.vid_oper vo,"
        "accounts_dep.norm n, accounts_dep.oper o \n"
        "where n.o_id =o.id and o.vid=vo.id and (vo.id = 7777 or vo.id = 7778)");
}

QLineEdit* makeEdit(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

// A name shown, not typed: it comes from a picker.
QLineEdit* makeShownName(QWidget* parent, const QString& name) {
    QLineEdit* edit = makeEdit(parent, name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setMinimumWidth(320);
    return edit;
}

// The hours as typed (digits only). Nothing typed is no hours; more digits than the integer
// column holds are too many.
enum class Hours { Valid, Missing, TooMany };
Hours readHours(const QString& text, qint64& hours) {
    if (text.trimmed().isEmpty()) return Hours::Missing;
    bool ok = false;
    hours = text.trimmed().toLongLong(&ok);
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!ok) return digits.match(text.trimmed()).hasMatch() ? Hours::TooMany : Hours::Missing;
    if (hours <= 0) return Hours::Missing;
    return hours > std::numeric_limits<qint32>::max() ? Hours::TooMany : Hours::Valid;
}

}  // namespace

TForm24::TForm24(Roster& roster)
    : ui::Form(QStringLiteral("Form24"), QStringLiteral("Хоз. работы/среднесдельная (24)")),
      type_work(roster.DataModule6->ADO_DB, typeWorkSql()),
      roster_(roster),
      dm_(*roster.DataModule6) {
    type_work.setParam(QStringLiteral("cnt"), 0);
    type_work.setFieldSize(QStringLiteral("vid"), 128);
    buildControls();
}

void TForm24::buildControls() {
    auto* group = new QGroupBox(QStringLiteral("Закрыто мастером"), this);
    Edit1 = makeShownName(group, QStringLiteral("Edit1"));
    Button3 = ui::makeButton(group, QStringLiteral("Button3"), QStringLiteral("..."));
    Edit2 = makeShownName(group, QStringLiteral("Edit2"));
    Button4 = ui::makeButton(group, QStringLiteral("Button4"), QStringLiteral("..."));
    cb_type_work = new ui::LookupBox(QStringLiteral("cb_type_work"), group);
    cb_type_work->setListSource(&type_work, QStringLiteral("id"), QStringLiteral("vid"));
    // The kind names are blank-padded to 128 characters; the box is sized for the names.
    cb_type_work->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cb_type_work->setMinimumContentsLength(26);
    Edit6 = makeEdit(group, QStringLiteral("Edit6"));
    Edit6->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit6));
    Edit6->setFixedWidth(60);
    DBEdit1 = makeEdit(group, QStringLiteral("DBEdit1"));
    DBEdit1->setEnabled(false);
    DBEdit1->setFixedWidth(90);
    DBEdit2 = makeEdit(group, QStringLiteral("DBEdit2"));
    DBEdit2->setEnabled(false);
    DBEdit2->setFixedWidth(110);

    auto* names = new QGridLayout;
    names->addWidget(new QLabel(QStringLiteral("ФИО"), group), 0, 0);
    names->addWidget(Edit1, 0, 1);
    names->addWidget(Button3, 0, 2);
    names->addWidget(new QLabel(QStringLiteral("Номенклатура"), group), 1, 0);
    names->addWidget(Edit2, 1, 1);
    names->addWidget(Button4, 1, 2);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(cb_type_work, 1);
    kindRow->addWidget(Edit6);
    kindRow->addWidget(new QLabel(QStringLiteral("ч.    Цена"), group));
    kindRow->addWidget(DBEdit1);
    kindRow->addWidget(new QLabel(QStringLiteral("р.    Сумма"), group));
    kindRow->addWidget(DBEdit2);
    auto* fields = new QVBoxLayout(group);
    fields->addLayout(names);
    fields->addLayout(kindRow);

    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Записать"));
    Button1->setDefault(true);
    Button6 = ui::makeButton(this, QStringLiteral("Button6"), QStringLiteral("Выход"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button6);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cb_type_work, &QComboBox::currentIndexChanged, this, ui::guarded([this] { followChosenKind(); }));
    connect(&type_work, &data::Dataset::rowsChanged, this, ui::guarded([this] { followChosenKind(); }));
    connect(&type_work, &data::Dataset::currentChanged, this, ui::guarded([this] { showPriceAndSum(); }));
    // The sum follows the hours as they are typed.
    connect(Edit6, &QLineEdit::textChanged, this, ui::guarded([this] { showPriceAndSum(); }));
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, ui::guarded([this] { Button4Click(); }));
    connect(Button6, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm24::prepareForNew() {
    setTag(AddMode);
    changedWorkId_ = 0;
    fill({QString(), QString(), QStringLiteral("0"), 0, 0, kindForNewWork});
}

void TForm24::prepareForChange(const Work& work) {
    setTag(ChangeMode);
    changedWorkId_ = work.id;
    fill(work);
}

void TForm24::fill(const Work& work) {
    Edit1->setText(work.fio);
    Edit2->setText(work.nomenclature);
    Edit6->setText(work.hours);
    nomenclatureId = work.nomenclatureId;
    workerId = work.workerId;
    cb_type_work->setKeyValue(work.kind);
    followChosenKind();
}

void TForm24::receiveWorker(const QString& fio, qint64 id) {
    Edit1->setText(fio);
    workerId = id;
}

void TForm24::receiveNomenclature(const QString& caption, qint64 id) {
    Edit2->setText(caption);
    nomenclatureId = id;
}

void TForm24::Button3Click() { roster_.Form5->showAsPicker(TForm5::UtilityEntryPicker, *this); }

void TForm24::Button4Click() { roster_.Form26->pick(*this); }

// The price shown is the one of the kind in the box: type_work moves to that kind's row.
void TForm24::followChosenKind() {
    const QVariant kind = cb_type_work->keyValue();
    if (!kind.isNull() && type_work.isOpen()) {
        const int idColumn = type_work.columnIndex(QStringLiteral("id"));
        for (int row = 0; row < type_work.recordCount(); ++row) {
            if (data::Field(type_work.value(row, idColumn)).asInteger() == data::Field(kind).asInteger()) {
                type_work.setRecNo(row + 1);
                break;
            }
        }
    }
    showPriceAndSum();
}

std::optional<data::Decimal> TForm24::chosenKindPrice() const {
    const QVariant kind = cb_type_work->keyValue();
    if (kind.isNull() || type_work.isEmpty()) return std::nullopt;
    if (type_work.field(QStringLiteral("id")).asInteger() != data::Field(kind).asInteger()) return std::nullopt;
    const data::Field price = type_work.field(QStringLiteral("price"));
    if (price.isNull()) return std::nullopt;
    return price.asDecimal();
}

void TForm24::showPriceAndSum() {
    const std::optional<data::Decimal> price = chosenKindPrice();
    DBEdit1->setText(price ? price->toString() : QString());
    qint64 hours = 0;
    std::optional<data::Decimal> sum;
    if (price && readHours(Edit6->text(), hours) == Hours::Valid)
        sum = price->times(data::Decimal::fromInteger(hours));
    DBEdit2->setText(sum ? sum->toString() : QString());
}

void TForm24::Button1Click() {
    if (nomenclatureId == 0 || workerId == 0) {
        ui::showError(allFieldsMessage);
        return;
    }
    qint64 hours = 0;
    switch (readHours(Edit6->text(), hours)) {
    case Hours::Missing: ui::showError(noHoursMessage); return;
    case Hours::TooMany: ui::showError(tooManyHoursMessage); return;
    case Hours::Valid: break;
    }
    // Without a price the statement would have no value to write; the kind needs its norm first.
    const std::optional<data::Decimal> price = chosenKindPrice();
    if (!price) {
        ui::showError(noPriceMessage);
        return;
    }
    const qint64 kind = data::Field(cb_type_work->keyValue()).asInteger();
    TForm25& list = *roster_.Form25;
    if (tag() == AddMode) {
        dm_.SQL_exec.execute(insertSql(kind, hours, *price));
    } else if (dm_.SQL_exec.execute(updateSql(kind, hours, *price)) == 0) {
        // Another workstation deleted the work meanwhile: nothing was written. The window closes,
        // so that nothing typed here is taken for a change of the work the list now stands on.
        list.reopenAtSameRow();
        ui::showError(workGoneMessage);
        reject();
        return;
    }
    list.reopenAtSameRow();
    accept();
}

QString TForm24::insertSql(qint64 kind, qint64 hours, const data::Decimal& price) const {
    const TForm25& list = *roster_.Form25;
    const QDate day = list.workDate();
    return QStringLiteral("INSERT INTO accounts_dep.fatigue(id_nom, id_o, id_p, d_date, i_mnth, i_year, "
                          "i_smena, cnt, price)VALUES(") +
           sql::integer(nomenclatureId) + QStringLiteral(", ") + sql::integer(kind) + QStringLiteral(" ,") +
           sql::integer(workerId) + QStringLiteral(", '") + sql::date(day) + QStringLiteral("', ") +
           sql::integer(day.month()) + QStringLiteral(", ") + sql::integer(day.year()) + QStringLiteral(", ") +
           sql::integer(list.newWorkShift) + QStringLiteral(", ") + sql::integer(hours) + QStringLiteral(", ") +
           sql::decimal(price) + u')';
}

// A change leaves the work's date, month, year and shift as they were.
QString TForm24::updateSql(qint64 kind, qint64 hours, const data::Decimal& price) const {
    return QStringLiteral("UPDATE accounts_dep.fatigue SET id_nom=") + sql::integer(nomenclatureId) +
           QStringLiteral(", id_o=") + sql::integer(kind) + QStringLiteral(", id_p=") + sql::integer(workerId) +
           QStringLiteral(", cnt=") + sql::integer(hours) + QStringLiteral(", price=") + sql::decimal(price) +
           QStringLiteral(" where id=") + sql::integer(changedWorkId_);
}
