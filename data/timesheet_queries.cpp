#include "data/timesheet_queries.h"

#include <QStringList>

namespace data {

namespace {

// The day sum of a timesheet row: an empty day counts 0.
QString daySum() {
    QStringList days;
    for (int day = 1; day <= 31; ++day) days << QStringLiteral("coalesce(d%1,0)").arg(day);
    return u'(' + days.join(u'+') + u')';
}

}  // namespace

QString timesheetGridQuery(int shift) {
    const QString h = daySum();
    return QStringList{
        QStringLiteral("select person.s_caption fio, "),
        h + QStringLiteral(" as summ, "),
        QStringLiteral("case when ") + h + QStringLiteral("=0 then 0 else"),
        QStringLiteral("(sum(s.cena*(kol_vo-brak))/") + h +
            QStringLiteral(") end ::numeric(10,2) as average_price, "
                           "sum(s.cena*(kol_vo-brak))::numeric(10,2) as cena_all,"),
        QStringLiteral("h_tabel.* "),
        QStringLiteral("from accounts_dep.h_tabel, cmn_contractor.person, accounts_dep.smena s where "),
        QStringLiteral("h_tabel.w_id=person.s_code::integer and h_tabel.smena=") + QString::number(shift) +
            QStringLiteral(" and month=:mnth and s.w_id = h_tabel.w_id and"),
        QStringLiteral("h_tabel.year=:yea and s.data >=:date1 and s.data <:date2"),
        QStringLiteral("group by person.s_caption,h_tabel.w_id,h_tabel.month,h_tabel.year,h_tabel.smena,h_tabel.id "),
        QStringLiteral("order by fio"),
    }.join(u'\n');
}

QString timesheetPrintQuery() {
    QString sums;
    for (int day = 1; day <= 31; ++day) sums += QStringLiteral(",sum(d%1) as sd%1").arg(day);
    return QStringLiteral("select person.s_caption fio") + sums +
           QStringLiteral(" from accounts_dep.h_tabel, cmn_contractor.person person where\n"
                          "h_tabel.w_id=person.s_code::t_integer and month=:mnth and\n"
                          "year=:yea group by fio order by fio");
}

QString timesheetDayQuery() {
    return QStringLiteral(
        " select smena, w_id, sum(time) as tim from accounts_dep.smena where data=:data group by smena,w_id;");
}

}  // namespace data
