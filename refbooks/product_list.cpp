#include "refbooks/product_list.h"

#include "data/data_module.h"
#include "data/sql_text.h"
#include "data/transaction.h"
#include "refbooks/pick_receivers.h"
#include "refbooks/product_editor.h"
#include "ui/clock.h"
#include "ui/dialogs.h"
#include "ui/lookup_box.h"
#include "ui/modal.h"
#include "ui/roster.h"

#include <QLineEdit>
#include <QScopeGuard>

namespace {

QList<ui::GridColumn> productColumns() {
    return {
        {QStringLiteral("Марка изделия"), QStringLiteral("marka"), 315},
        {QStringLiteral("Номенклатурная группа"), QStringLiteral("nom"), 162},
        {QStringLiteral("Коробки"), QStringLiteral("massa"), 67},
    };
}

// The delete counts shift records from the first day of the previous month, in the year 2000
// whatever today's year: in effect every record since 2000, as its question says ("in the current,
// the previous months and earlier").
QDate recordsCutOff(const QDate& today) {
    const int month = today.month() == 1 ? 13 : today.month();
    return QDate(2000, month - 1, 1);
}

}  // namespace

TForm3::TForm3(Roster& roster)
    : refbooks::ReferenceList(QStringLiteral("Form3"), QStringLiteral("Изделия (3)"),
                              roster.DataModule6->Izdel, productColumns(),
                              {QStringLiteral("marka"), false, true}),
      Izdel_Smena(roster.DataModule6->ADO_DB,
                  QStringLiteral("select count(*) as cnt from accounts_dep.smena s where s.i_id =:id_ii "
                                 "and s.\"data\">=:dt")),
      ii_oper(roster.DataModule6->ADO_DB,
              QStringLiteral("select count(*) as cnt from accounts_dep.oper o where o.i_id =:id_ii")),
      roster_(roster),
      dm_(*roster.DataModule6) {}

void TForm3::showAsList() { openAsList(); }

void TForm3::showAsPicker(ProductPickReceiver& receiver) {
    receiver_ = &receiver;
    const auto forget = qScopeGuard([this] { receiver_ = nullptr; });
    openAsPicker(1, AfterPicking::Restore);
}

bool TForm3::handBackCurrentRow() {
    if (!receiver_) return false;
    receiver_->receiveProduct(dm_.Izdel.field(QStringLiteral("marka")).asString().trimmed(),
                              dm_.Izdel.field(QStringLiteral("id")).asInteger());
    return true;
}

void TForm3::add() {
    TForm7& editor = *roster_.Form7;
    editor.Edit1->clear();
    editor.Edit2->clear();
    editor.setWindowTitle(QStringLiteral("Заведение нового изделия"));
    editor.setTag(1);
    editor.item.open();   // the group box keeps the group of its previous use
    showEditor();
}

void TForm3::change() {
    TForm7& editor = *roster_.Form7;
    editor.setWindowTitle(QStringLiteral("Изменение данных изделия"));
    editor.setTag(2);
    editor.Edit1->setText(dm_.Izdel.field(QStringLiteral("marka")).asString().trimmed());
    editor.Edit2->setText(dm_.Izdel.field(QStringLiteral("massa")).asString());
    editor.item.open();
    // A product without a group reads 0, which chooses nothing.
    editor.cb_item->setKeyValue(dm_.Izdel.field(QStringLiteral("id_class_item")).asInteger());
    showEditor();
}

// The editor reads the list's current row while it is shown, and its save reads the list again;
// the list comes back to the row it was on.
void TForm3::showEditor() {
    TForm7& editor = *roster_.Form7;
    const int row = dm_.Izdel.recNo();
    ui::showModal(editor);
    editor.item.close();
    dm_.Izdel.setRecNo(row);
}

void TForm3::remove() {
    const qint64 id = dm_.Izdel.field(QStringLiteral("id")).asInteger();
    countRecordsAndPrices(id);
    const Deletion deletion = askWhatToDelete();
    if (deletion.product) deleteProduct(id, deletion);
    dm_.Izdel.reopen();
}

// Every question comes before anything is deleted: the answer to the last one decides whether
// anything goes at all. Answering No about the prices keeps them and still asks about the product.
TForm3::Deletion TForm3::askWhatToDelete() {
    Deletion deletion;
    if (ii_oper.field(QStringLiteral("cnt")).asInteger() > 0)
        deletion.prices = ui::confirmDelete(QStringLiteral("По изделию есть расценки они будут удалены!!!"));
    if (Izdel_Smena.field(QStringLiteral("cnt")).asInteger() > 0) {
        deletion.records = true;
        deletion.product = ui::confirmDelete(QStringLiteral("По изделию есть операции в текущем, предыдущем месяцах и ранее, "
                                                            "они будут удалены. Удалить изделие? "));
    } else {
        deletion.product = ui::confirmDelete(QStringLiteral("Удалить изделие? "));
    }
    return deletion;
}

// All of it or nothing: a failure halfway leaves the product, its prices and its shift records as
// they were. Every shift record of the product goes, whatever its date, before the priced
// operations it refers to; the monthly timesheet stays as it is.
void TForm3::deleteProduct(qint64 id, const Deletion& deletion) {
    data::Transaction transaction(dm_.ADO_DB);
    if (deletion.records)
        dm_.DelSmena.execute(QStringLiteral("delete from accounts_dep.smena s where s.i_id =") + sql::integer(id));
    if (deletion.prices)
        dm_.DelSmena.execute(QStringLiteral("delete from accounts_dep.oper o where o.i_id =") + sql::integer(id));
    dm_.DelSmena.execute(QStringLiteral("delete from cmn_gds_and_srv.gds_and_srv  where id=") + sql::integer(id));
    transaction.commit();
}

void TForm3::countRecordsAndPrices(qint64 id) {
    Izdel_Smena.close();
    Izdel_Smena.setParam(QStringLiteral("id_ii"), id);
    Izdel_Smena.setParam(QStringLiteral("dt"), recordsCutOff(ui::today()));
    Izdel_Smena.open();
    ii_oper.close();
    ii_oper.setParam(QStringLiteral("id_ii"), id);
    ii_oper.open();
}
