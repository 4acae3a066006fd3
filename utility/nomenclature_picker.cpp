#include "utility/nomenclature_picker.h"

#include "data/data_module.h"
#include "ui/data_grid.h"
#include "ui/guard.h"
#include "ui/modal.h"
#include "ui/prefix_search.h"
#include "ui/roster.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {

const QString captionField = QStringLiteral("s_caption");

}  // namespace

TForm26::TForm26(Roster& roster)
    : ui::Form(QStringLiteral("Form26"), QStringLiteral("Номенклатура (26)")),
      item(roster.DataModule6->ADO_DB,
           QStringLiteral("select * from cmn_classifier.item where id_level=2 order by s_caption")) {
    item.setFieldSize(QStringLiteral("s_code"), 254);
    item.setFieldSize(captionField, 254);
    item.setFieldSize(QStringLiteral("s_description"), 4000);
    item.setFieldSize(QStringLiteral("b_excluded"), 5);
    buildControls();
}

void TForm26::buildControls() {
    DBGrid1 = new ui::DataGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns({{QStringLiteral("Наименование"), captionField, 365}});
    DBGrid1->setDataset(&item);
    DBGrid1->setMinimumSize(365 + 40, 360);

    Button1 = ui::makeButton(this, QStringLiteral("Button1"), QStringLiteral("Выбрать"));
    Button1->setDefault(true);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // Every key that types nothing is consumed, so Up and Down move the list and the text stays.
    new ui::PrefixSearch(Edit1, item, captionField, true);
    Button4 = ui::makeButton(this, QStringLiteral("Button4"), QStringLiteral("Выход"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button1);
    bottom->addWidget(Edit1, 1);
    bottom->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);

    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(DBGrid1, &ui::DataGrid::dblClick, this, ui::guarded([this] { Button1Click(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm26::pick(NomenclaturePickReceiver& receiver) {
    receiver_ = &receiver;
    const auto forget = qScopeGuard([this] {
        receiver_ = nullptr;
        item.close();
    });
    item.open();
    ui::showModal(*this);
}

void TForm26::formActivate() { Edit1->setFocus(); }

// A list narrowed to nothing hands back no group (id 0, no name): the entry refuses to save that.
void TForm26::Button1Click() {
    if (receiver_)
        receiver_->receiveNomenclature(item.field(captionField).asString(), item.field(QStringLiteral("id")).asInteger());
    accept();
}
