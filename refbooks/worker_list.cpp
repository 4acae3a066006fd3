#include "refbooks/worker_list.h"

#include "app/roster.h"
#include "data/data_module.h"
#include "data/sql_text.h"
#include "refbooks/pick_receivers.h"
#include "refbooks/worker_editor.h"
#include "ui/data_grid.h"
#include "ui/dialogs.h"
#include "ui/guard.h"
#include "ui/modal.h"
#include "ui/prefix_search.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString fioField = QStringLiteral("fio");
const QString idField = QStringLiteral("id");

}  // namespace

TForm5::TForm5(Roster& roster)
    : ui::Form(QStringLiteral("Form5"), QStringLiteral("Список рабочих")),
      roster_(roster),
      dm_(*roster.DataModule6) {
    buildControls();
}

void TForm5::buildControls() {
    DBGrid1 = new ui::DataGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns({
        {QStringLiteral("ФИО"), fioField, 300},
        {QStringLiteral("Должность"), QStringLiteral("s_staffpos_hl"), 300},
    });
    DBGrid1->setDataset(&workers());
    DBGrid1->setMinimumSize(640, 400);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // Only typed characters and Backspace change the search text.
    new ui::PrefixSearch(Edit1, workers(), fioField, true);

    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Добавить"));
    Button2 = ui::makeButton(this, QStringLiteral("Button2"), QStringLiteral("Изменить"));
    Button3 = ui::makeButton(this, QStringLiteral("Button3"), QStringLiteral("Удалить"));
    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("Выход"));
    ui::setDefaultButton(Button1, true);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Button1, Button2, Button3}) buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(Button4);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);

    connect(DBGrid1, &ui::DataGrid::dblClick, this, ui::guarded([this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
}

data::Dataset& TForm5::workers() const { return dm_.Workers; }

void TForm5::showAsList() {
    setTag(ListMode);
    workers().open();
    ui::setDefaultButton(Button2, false);
    Button2->setText(QStringLiteral("Изменить"));
    // A picker took the default role and hid these; list mode gives them back.
    ui::setDefaultButton(Button1, true);
    Button1->setVisible(true);
    Button3->setVisible(true);
    ui::showModal(*this);
    workers().close();
}

void TForm5::showAsPicker(int tag, WorkerPickReceiver& receiver) {
    setTag(tag);
    workers().open();
    Button2->setText(QStringLiteral("Выбрать"));
    ui::setDefaultButton(Button2, true);
    Button2->setVisible(true);
    Button3->setVisible(false);
    Button1->setVisible(false);
    Edit1->setVisible(true);
    Edit1->clear();
    receiver_ = &receiver;
    ui::showModal(*this);
    receiver_ = nullptr;
    workers().close();
}

// The test runner may never map the window, so visibility is asked of the window itself.
void TForm5::formActivate() {
    if (Edit1->isVisibleTo(this)) Edit1->setFocus();
}

void TForm5::Button1Click() {
    roster_.Form2->showForNew();
    workers().reopen();
}

void TForm5::Button2Click() {
    if (tag() == ListMode) changeWorker();
    else chooseWorker();
}

void TForm5::changeWorker() {
    // With no row there is no worker to change: an update would change nothing and look saved.
    if (workers().isEmpty()) return;
    const int row = workers().recNo();
    roster_.Form2->showForChange(workers().field(idField).asInteger(),
                                 workers().field(fioField).asString().trimmed());
    reopenAtRow(row);
}

void TForm5::chooseWorker() {
    const bool chosen = !workers().isEmpty() && receiver_;
    if (chosen)
        receiver_->receiveWorker(workers().field(fioField).asString().trimmed(),
                                 workers().field(idField).asInteger());
    done(chosen ? QDialog::Accepted : QDialog::Rejected);
}

void TForm5::Button3Click() {
    if (workers().isEmpty()) return;   // nothing to delete
    if (!ui::confirmDelete(QStringLiteral("Удалить работника?"))) return;
    const int row = workers().recNo();
    roster_.Form2->cmd_person.execute(QStringLiteral("delete from accounts_dep.person where id =") +
                                      sql::integer(workers().field(idField).asInteger()));
    reopenAtRow(row);
}

// Back to the same row number; past the end of a shorter list, the last row.
void TForm5::reopenAtRow(int recNo) {
    workers().reopen();
    if (!workers().isEmpty()) workers().setRecNo(recNo);
}
