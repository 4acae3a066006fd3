#include "data/data_module.h"

#include "data/shift_queries.h"
#include "data/timesheet_queries.h"
#include "ui/dialogs.h"

TDataModule6::TDataModule6(data::ConnectionSettings settings)
    : ADO_DB(std::move(settings)),
      Workers(ADO_DB, QStringLiteral("select * from accounts_dep.person order by fio")),
      Izdel(ADO_DB, QStringLiteral("select *  from accounts_dep.IZDEL order by marka")),
      Oper(ADO_DB),
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
      Oper_del(ADO_DB),
      Control(ADO_DB),
      DelSmena(ADO_DB),
      H_Tabel_ins(ADO_DB),
      SQL_exec(ADO_DB) {
    Workers.setFieldSize(QStringLiteral("fio"), 254);
    Workers.setFieldSize(QStringLiteral("s_staffpos_hl"), 254);
    Izdel.setFieldSize(QStringLiteral("marka"), 254);
    Izdel.setFieldSize(QStringLiteral("nom"), 255);
    Vid_oper.setFieldSize(QStringLiteral("vid"), 50);
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
