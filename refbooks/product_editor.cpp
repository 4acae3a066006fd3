#include "refbooks/product_editor.h"

#include "data/data_module.h"
#include "data/column_sizes.h"
#include "data/field.h"
#include "data/sql_text.h"
#include "refbooks/editor_frame.h"
#include "ui/dialogs.h"
#include "ui/entry_checks.h"
#include "ui/guard.h"
#include "ui/lookup_box.h"
#include "ui/roster.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QValidator>

namespace {

const QString allFieldsMessage = QStringLiteral("Все поля должны быть заполнены!");
const QString notANumberMessage = QStringLiteral("Расценка должна быть числом!");
const QString productGoneMessage = QStringLiteral(
    "Изменяемое изделие не найдено: возможно, его удалили с другого рабочего места. Изменения не сохранены.");

// Typing in the factor box: digits pass, a comma or a point is entered as a point, every other
// character is refused; pasted text follows the same rule. A minus is never typed, but a negative
// factor shown for change keeps its sign in front, so that it can be saved again.
class MassaValidator : public QValidator {
public:
    explicit MassaValidator(QLineEdit* box) : QValidator(box) {
        // The box already holds the edited text while it asks; what it showed before comes from here.
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
    }

    State validate(QString& input, int&) const override {
        input.replace(u',', u'.');
        const bool keepsSign = shown_.startsWith(u'-') && input.startsWith(u'-');
        for (qsizetype i = keepsSign ? 1 : 0; i < input.size(); ++i)
            if (input[i] != u'.' && (input[i] < u'0' || input[i] > u'9')) return Invalid;
        return Acceptable;
    }

private:
    QString shown_;
};

// What the statements may hold as the factor: digits with at most one full stop among them, after
// the sign of a negative factor. Typing lets through a lone point or a second one, which would
// break the statement.
bool isPlainNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^-?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    return number.match(text).hasMatch();
}

// The factor's column, numeric(28,6): 22 digits before the point and 6 after. A longer factor
// would be refused by the server or rounded.
bool factorFits(const QString& text) {
    QString digits = text;
    digits.remove(u'-');
    const qsizetype point = digits.indexOf(u'.');
    QString whole = point < 0 ? digits : digits.left(point);
    QString fraction = point < 0 ? QString() : digits.mid(point + 1);
    while (whole.startsWith(u'0')) whole.remove(0, 1);
    while (fraction.endsWith(u'0')) fraction.chop(1);
    return whole.size() <= 22 && fraction.size() <= 6;
}

}  // namespace

TForm7::TForm7(Roster& roster)
    : ui::Form(QStringLiteral("Form7"), QStringLiteral("Изделие")),
      item(roster.DataModule6->ADO_DB, QStringLiteral("select * from cmn_classifier.item order by s_caption")),
      dm_(*roster.DataModule6) {
    item.setFilter(QStringLiteral("id_level=2"));
    item.setFiltered(true);
    buildControls();
}

void TForm7::buildControls() {
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(300);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setFixedWidth(49);
    Edit2->setValidator(new MassaValidator(Edit2));
    cb_item = new ui::LookupBox(QStringLiteral("cb_item"), this);
    cb_item->setListSource(&item, QStringLiteral("id"), QStringLiteral("s_caption"));
    const refbooks::EditorFrame frame = refbooks::layOutEditor(*this, QStringLiteral("Данные об изделии"));
    frame.fields->addRow(QStringLiteral("Марка"), Edit1);
    frame.fields->addRow(QStringLiteral("Расценка"), Edit2);
    frame.fields->addRow(cb_item);
    Button1 = frame.Button1;
    Button2 = frame.Button2;
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
}

void TForm7::formActivate() { Edit1->setFocus(); }

void TForm7::Button1Click() {
    if (!allFieldsFilled()) {
        ui::showError(allFieldsMessage);
        return;
    }
    const QString massa = Edit2->text().trimmed();
    if (!isPlainNumber(massa)) {
        ui::showError(notANumberMessage);
        return;
    }
    if (!factorFits(massa)) {
        ui::showError(QStringLiteral("Поле «Расценка»: не больше 22 цифр до точки и 6 после!"));
        return;
    }
    const QString mark = Edit1->text().trimmed();
    if (!ui::textFits(mark, data::column_sizes::marka, QStringLiteral("Марка"))) return;
    if (dm_.CountCheck(duplicateCheckSql(mark), QStringLiteral("Такая марка изделия уже заведена!")) == 1)
        return;
    const int written = dm_.SQL_exec.execute(tag() == 1 ? insertSql(mark, massa) : updateSql(mark, massa));
    dm_.Izdel.reopen();
    if (tag() != 1 && written == 0) {
        // Deleted on another workstation meanwhile: nothing was written. The list's current row
        // is now another product, so the editor closes rather than write over it.
        ui::showError(productGoneMessage);
        reject();
        return;
    }
    accept();
}

bool TForm7::allFieldsFilled() const {
    return !Edit1->text().trimmed().isEmpty() && !Edit2->text().trimmed().isEmpty() && groupId() != 0;
}

qint64 TForm7::groupId() const { return data::Field(cb_item->keyValue()).asInteger(); }

qint64 TForm7::currentProductId() const {
    return dm_.Izdel.field(QStringLiteral("id")).asInteger();
}

// A mark is unique whatever its letter case; a changed product may keep its own mark.
QString TForm7::duplicateCheckSql(const QString& mark) const {
    QString sql = QStringLiteral("select count(*) as cnt from accounts_dep.izdel where upper(marka)='") +
                  sql::escaped(QLocale().toUpper(mark)) + u'\'';
    if (tag() != 1) sql += QStringLiteral("and id<>") + sql::integer(currentProductId());
    return sql;
}

QString TForm7::insertSql(const QString& mark, const QString& massa) const {
    return QStringLiteral("INSERT INTO cmn_gds_and_srv.gds_and_srv(s_caption, s_description, id_msm_bs, "
                          "massa, id_class_item)VALUES(") +
           sql::text(mark) + QStringLiteral(", '', 6, ") + massa + u',' + sql::integer(groupId()) + u')';
}

// The factor goes in with a full stop whatever the database's separator: the server reads numbers
// in statement text only that way, so a comma would be refused and an empty separator would turn
// 12.5 into 125.
QString TForm7::updateSql(const QString& mark, const QString& massa) const {
    return QStringLiteral("UPDATE cmn_gds_and_srv.gds_and_srv SET s_caption=") + sql::text(mark) +
           QStringLiteral(", s_description='', id_msm_bs=6, massa=") + massa +
           QStringLiteral(", id_class_item=") + sql::integer(groupId()) + QStringLiteral(" where id=") +
           sql::integer(currentProductId());
}
