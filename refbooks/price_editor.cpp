#include "refbooks/price_editor.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "refbooks/editor_frame.h"
#include "refbooks/operation_kind_list.h"
#include "refbooks/product_list.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/roster.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString duplicateMessage = QStringLiteral("Операция с такими параметрами уже заведена!");
const QString operationGoneMessage = QStringLiteral(
    "Изменяемая расценка не найдена: возможно, её удалили с другого рабочего места. Изменения не сохранены.");

// A read-only box the Tab key passes by, with its "..." button beside it.
QLayout* pickerRow(QLineEdit* box, QPushButton* button) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setMinimumWidth(300);
    button->setFixedWidth(30);
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(button);
    return row;
}

}  // namespace

TForm10::TForm10(Roster& roster)
    : ui::Form(QStringLiteral("Form10"), QStringLiteral("Form10")), roster_(roster), dm_(*roster.DataModule6) {
    buildControls();
}

void TForm10::buildControls() {
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Button3 = ui::makeButton(this, QStringLiteral("Button3"), QStringLiteral("..."));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("..."));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("Готовая продукция"), QStringLiteral("Заготовки")});

    const refbooks::EditorFrame frame = refbooks::layOutEditor(*this, QStringLiteral("Цена операции"));
    frame.fields->addRow(QStringLiteral("Марка изделия"), pickerRow(Edit1, Button3));
    frame.fields->addRow(QStringLiteral("Операция"), pickerRow(Edit2, Button4));
    frame.fields->addRow(QStringLiteral("Вид"), ComboBox1);
    Button1 = frame.Button1;
    Button2 = frame.Button2;
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, ComboBox1);
    setTabOrder(ComboBox1, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, ui::guarded([this] { Button4Click(); }));
}

void TForm10::formActivate() { Button3->setFocus(); }

void TForm10::Button3Click() { roster_.Form3->showAsPicker(*this); }

void TForm10::Button4Click() { roster_.Form8->showAsPicker(*this); }

void TForm10::receiveProduct(const QString& marka, qint64 id) {
    Edit1->setText(marka);
    productId = id;
}

void TForm10::receiveOperationKind(const QString& vid, qint64 id) {
    Edit2->setText(vid);
    kindId = id;
}

// After "where vid=": "3 and naimen=0 and i_id=12", the operation kind, the product type and the product.
QString TForm10::combination(int naimen) const {
    return sql::integer(kindId) + QStringLiteral(" and naimen=") +
           sql::integer(naimen) + QStringLiteral(" and i_id=") + sql::integer(productId);
}

void TForm10::Button1Click() {
    createdOperationId_ = 0;
    const int naimen = ComboBox1->currentIndex();
    if (Edit1->text().trimmed().isEmpty() || Edit2->text().trimmed().isEmpty()) {
        ui::showError(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    if (tag() == 1) {
        if (dm_.CountCheck(QStringLiteral("select count(ID) as cnt from accounts_dep.OPER where vid=") + combination(naimen),
                           duplicateMessage) == 1)
            return;
        dm_.Oper_ins.execute(QStringLiteral("insert into accounts_dep.oper(vid, naimen, i_id, cena_new)values (") +
                             sql::integer(kindId) + QStringLiteral(", ") + sql::integer(naimen) +
                             QStringLiteral(", ") + sql::integer(productId) + QStringLiteral(", 0)"));
        // The id the insert was given, read in the same session: never the largest id, which
        // another workstation may have taken in between.
        data::Dataset& control = dm_.Control;
        control.close();
        control.setSql(QStringLiteral("select lastval() as id"));
        control.open();
        createdOperationId_ = control.field(QStringLiteral("id")).asInteger();
        control.close();
    } else {
        if (dm_.CountCheck(QStringLiteral("select count(*) as cnt from accounts_dep.OPER where vid=") + combination(naimen) +
                               QStringLiteral(" and id<>") + sql::integer(operationId),
                           duplicateMessage) == 1)
            return;
        const int changed = dm_.Oper_ed.execute(
            QStringLiteral("update accounts_dep.oper set vid=") + sql::integer(kindId) + QStringLiteral(", naimen=") +
            sql::integer(naimen) + QStringLiteral(",  i_id=") + sql::integer(productId) +
            QStringLiteral(" where id=") + sql::integer(operationId));
        if (changed == 0) {
            // Deleted on another workstation meanwhile: nothing was written. The list shows it
            // gone, and the editor closes, as there is nothing left to change.
            dm_.Oper.reopen();
            ui::showError(operationGoneMessage);
            reject();
            return;
        }
    }
    dm_.Oper.reopen();
    accept();
}
