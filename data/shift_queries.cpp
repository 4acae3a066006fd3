#include "data/shift_queries.h"

#include "data/dataset.h"

#include <QStringList>

namespace data {

QString shiftQuery(int shift) {
    const QString columns2 = QStringLiteral(
        "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, (SELECT (CASE naimen WHEN 0 "
        "THEN 'Готовая продукция' ELSE 'Заготовки' END)) as nmn, oper.naimen,  smena.brak, "
        "smena.kol_vo::numeric,");
    const QString tail = QStringLiteral(
        "color,time, smena.ok, vvod, smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, "
        "smena.id_gds_use, smena.id_cons_use");
    const QString from = QStringLiteral(
        "from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,"
        "accounts_dep.smena,accounts_dep.vid_oper ");
    const QString where = QStringLiteral(
        "where smena.i_id=izdel.id and smena.o_id=oper.id and (w_id=person.id or "
        "s_code::t_id=w_id) and ");
    if (shift == 1) {
        return QStringList{
            QStringLiteral("select smena.id, smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, "),
            columns2,
            QStringLiteral("round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, ") + tail,
            from,
            where,
            QStringLiteral("oper.vid=vid_oper.id and smena.smena=1 and smena.data=:data and ok!=:ok order by "),
            QStringLiteral("fio, izdel.marka, vid_oper.vid, oper.naimen, color"),
        }.join(u'\n');
    }
    return QStringList{
        QStringLiteral("select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, "),
        columns2,
        QStringLiteral("round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, smena.id, ") + tail,
        from,
        where,
        QStringLiteral("oper.vid=vid_oper.id and smena.smena=%1 and smena.data=:data and ok<>:ok order by fio")
            .arg(shift),
    }.join(u'\n');
}

void declareShiftFields(Dataset& dataset) {
    dataset.setFieldSize(QStringLiteral("fio"), 50);
    dataset.setFieldSize(QStringLiteral("marka"), 50);
    dataset.setFieldSize(QStringLiteral("vid"), 50);
    dataset.setFieldSize(QStringLiteral("nmn"), 255);
    dataset.setFieldSize(QStringLiteral("ok"), 255);
}

}  // namespace data
