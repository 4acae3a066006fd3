#include "data/data_module.h"

#include "data/shift_queries.h"
#include "data/timesheet_queries.h"
#include "ui/dialogs.h"

namespace {

// The priced operations that have norms, each with its number of norms and its lowest norm price.
const QString operSql = QStringLiteral(
    "select izdel.MARKA, vid_oper.VID, oper.NAIMEN, (SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' "
    "ELSE 'Заготовки' END)) as nmn,\n"
    "count(o_id) norma, min(price)::numeric cena,\n"
    "oper.id, oper.i_id, oper.VID as oper_vid from accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,"
    "accounts_dep.VID_OPER where OPER.i_id=IZDEL.id and norm.o_id=oper.id\n"
    "and oper.vid=vid_oper.id group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID "
    "order by izdel.marka, vid_oper.vid, oper.naimen");

}  // namespace

TDataModule6::TDataModule6(data::ConnectionSettings settings)
    : ADO_DB(std::move(settings)),
      Workers(ADO_DB, QStringLiteral("select * from accounts_dep.person order by fio")),
      Izdel(ADO_DB, QStringLiteral("select *  from accounts_dep.IZDEL order by marka")),
      Oper(ADO_DB, operSql),
      Vid_oper(ADO_DB, QStringLiteral("select * from accounts_dep.VID_OPER order by vid")),
      Smena1(ADO_DB, data::shiftQuery(1)),
      Smena2(ADO_DB, data::shiftQuery(2)),
      Smena3(ADO_DB, data::shiftQuery(3)),
      Smena4(ADO_DB, data::shiftQuery(4)),
      H_Tabel_1(ADO_DB, data::timesheetGridQuery(1)),
      H_Tabel_2(ADO_DB, data::timesheetGridQuery(2)),
      H_Tabel_3(ADO_DB, data::timesheetGridQuery(3)),
      Oper_ins(ADO_DB),
      Oper_ed(ADO_DB),
      Oper_del(ADO_DB, QStringLiteral("delete from accounts_dep.oper where id=:id")),
      Control(ADO_DB),
      DelSmena(ADO_DB),
      H_Tabel_ins(ADO_DB),
      SQL_exec(ADO_DB) {
    Workers.setFieldSize(QStringLiteral("fio"), 254);
    Workers.setFieldSize(QStringLiteral("s_staffpos_hl"), 254);
    Izdel.setFieldSize(QStringLiteral("marka"), 254);
    Izdel.setFieldSize(QStringLiteral("nom"), 255);
    Vid_oper.setFieldSize(QStringLiteral("vid"), 50);
    Oper.setFieldSize(QStringLiteral("marka"), 50);
    Oper.setFieldSize(QStringLiteral("vid"), 50);
    Oper.setFieldSize(QStringLiteral("nmn"), 255);
    for (int shift = 1; shift <= 4; ++shift) data::declareShiftFields(smena(shift));
    for (data::Dataset* timesheet : {&H_Tabel_1, &H_Tabel_2, &H_Tabel_3})
        timesheet->setFieldSize(QStringLiteral("fio"), 254);
}

data::Dataset& TDataModule6::smena(int shift) {
    switch (shift) {
    case 2: return Smena2;
    case 3: return Smena3;
    case 4: return Smena4;
    default: return Smena1;
    }
}

int TDataModule6::CountCheck(const QString& sql, const QString& message) {
    Control.close();
    Control.setSql(sql);
    Control.open();
    const int count = Control.field(QStringLiteral("cnt")).asInteger();
    Control.close();
    if (count <= 0) return 0;
    ui::showError(message);
    return 1;
}

QString TDataModule6::ConvertDecimalSeparator(const QString& text) const {
    qsizetype at = text.indexOf(u',');
    if (at < 0) at = text.indexOf(u'.');
    if (at < 0) return text;
    QString converted = text;
    return converted.replace(at, 1, Delim);
}
