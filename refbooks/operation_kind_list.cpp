#include "refbooks/operation_kind_list.h"

#include "data/data_module.h"
#include "refbooks/operation_kind_editor.h"
#include "refbooks/pick_receivers.h"
#include "ui/dialogs.h"
#include "ui/modal.h"
#include "ui/roster.h"

#include <QLayout>
#include <QLineEdit>
#include <QScopeGuard>

namespace {

QList<ui::GridColumn> kindColumns() {
    return {{QStringLiteral("Операции"), QStringLiteral("vid"), 309}};
}

}  // namespace

TForm8::TForm8(Roster& roster)
    : refbooks::ReferenceList(QStringLiteral("Form8"), QStringLiteral("Виды операций (8)"),
                              roster.DataModule6->Vid_oper, kindColumns(),
                              {QStringLiteral("vid"), true, false}),
      roster_(roster),
      dm_(*roster.DataModule6) {
    // The list deletes and its editor writes through the dataset itself, row by its id.
    dm_.Vid_oper.setUpdateTable(QStringLiteral("accounts_dep.vid_oper"), {QStringLiteral("id")});
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm8::showAsList() {
    dm_.Vid_oper.setFiltered(false);
    openAsList();
}

void TForm8::showAsPicker(OperationKindPickReceiver& receiver) {
    receiver_ = &receiver;
    const auto forget = qScopeGuard([this] { receiver_ = nullptr; });
    openAsPicker(1, AfterPicking::Restore);
}

bool TForm8::handBackCurrentRow() {
    if (!receiver_) return false;
    receiver_->receiveOperationKind(dm_.Vid_oper.field(QStringLiteral("vid")).asString().trimmed(),
                                    dm_.Vid_oper.field(QStringLiteral("id")).asInteger());
    return true;
}

void TForm8::add() {
    TForm9& editor = *roster_.Form9;
    editor.Edit1->clear();
    editor.setWindowTitle(QStringLiteral("Заведение нового вида операций"));
    editor.setTag(1);
    ui::showModal(editor);
}

void TForm8::change() {
    TForm9& editor = *roster_.Form9;
    editor.setWindowTitle(QStringLiteral("Изменение данных вида операции"));
    editor.setTag(2);
    // The list shows names cut to its column; the editor gets the whole name, so that saving it
    // unchanged does not shorten it.
    editor.Edit1->setText(dm_.Vid_oper.wholeField(QStringLiteral("vid")).asString().trimmed());
    ui::showModal(editor);
}

void TForm8::remove() {
    if (!ui::confirmDelete(QStringLiteral("Удалить вид операции?"))) return;
    // A kind that priced operations use is kept by the database's key; its error stops here.
    dm_.Vid_oper.deleteCurrent();
    dm_.Vid_oper.reopen();
}
