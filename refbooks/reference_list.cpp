#include "refbooks/reference_list.h"

#include "data/dataset.h"
#include "ui/guard.h"
#include "ui/modal.h"
#include "ui/prefix_search.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace refbooks {

ReferenceList::ReferenceList(const QString& name, const QString& caption, data::Dataset& dataset,
                             const QList<ui::GridColumn>& columns, const Search& search)
    : ui::Form(name, caption), dataset_(dataset) {
    buildControls(columns, search);
}

void ReferenceList::buildControls(const QList<ui::GridColumn>& columns, const Search& search) {
    DBGrid1 = new ui::DataGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns(columns);
    DBGrid1->setDataset(&dataset_);
    int gridWidth = 40;   // the row marker, the frame and a vertical scroll bar
    for (const ui::GridColumn& column : columns)
        if (column.visible) gridWidth += column.width > 0 ? column.width : ui::DataGrid::defaultColumnWidth;
    DBGrid1->setMinimumSize(gridWidth, 360);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setVisible(search.visible);
    new ui::PrefixSearch(Edit1, dataset_, search.field, search.onlyTyping, search.match);

    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Добавить"));
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Изменить"));
    Button3 = ui::makeButton(this, QStringLiteral("Button3"), QStringLiteral("Удалить"));
    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("Выход"));
    Button1->setDefault(true);

    buttonRow_ = new QHBoxLayout;
    buttonRow_->addWidget(Button1);
    buttonRow_->addWidget(Button2);
    buttonRow_->addWidget(Button3);
    buttonRow_->addStretch();
    buttonRow_->addWidget(Button4);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(Edit1);
    layout->addLayout(buttonRow_);

    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { add(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
    connect(DBGrid1, &ui::DataGrid::dblClick, this, ui::guarded([this] { DBGrid1DblClick(); }));
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
}

void ReferenceList::addToButtonRow(QWidget* control) {
    buttonRow_->insertWidget(buttonRow_->indexOf(Button3) + 1, control);
}

// The dataset is read afresh: a picker may have left it open on what it read then.
void ReferenceList::openAsList() {
    setTag(0);
    dataset_.reopen();
    Button2->setDefault(false);
    Button2->setText(QStringLiteral("Изменить"));
    // A picker took the default role; list mode gives it back to "Добавить".
    Button1->setDefault(true);
    Button1->setVisible(true);
    Button3->setVisible(true);
    ui::showModal(*this);
    dataset_.close();
}

void ReferenceList::openAsPicker(int tag, AfterPicking after) {
    beginPicking(tag);
    ui::showModal(*this);
    endPicking(after);
    dataset_.close();
}

void ReferenceList::beginPicking(int tag) {
    setTag(tag);
    dataset_.reopen();
    Button2->setText(QStringLiteral("Выбрать"));
    Button1->setVisible(false);
    Button3->setVisible(false);
    Button2->setDefault(true);
    Edit1->setVisible(true);
    Edit1->clear();
}

void ReferenceList::endPicking(AfterPicking after) {
    if (after == AfterPicking::Keep) return;
    Button2->setDefault(false);
    Edit1->setVisible(false);
    // The box stays hidden from now on; a search left in it would go on narrowing the list
    // where nobody can see or undo it.
    Edit1->clear();
}

void ReferenceList::Button2Click() {
    if (tag() != 0) {
        if (!mayHandBackCurrentRow()) return;
        done(handBackCurrentRow() ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    if (!dataset_.isEmpty()) change();
}

void ReferenceList::Button3Click() {
    if (!dataset_.isEmpty()) remove();
}

void ReferenceList::formActivate() {
    if (!Edit1->isHidden()) Edit1->setFocus();
}

}  // namespace refbooks
