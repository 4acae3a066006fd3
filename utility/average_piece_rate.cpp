#include "utility/average_piece_rate.h"

#include "data/sql_text.h"

namespace utility {

QString averagePieceRateSql(const QDate& day) {
    const int month = day.month();
    const int year = day.year();
    const int nextMonth = month == 12 ? 1 : month + 1;
    const int nextYear = month == 12 ? year + 1 : year;
    return QStringLiteral(
               "UPDATE accounts_dep.fatigue f SET price=coalesce((select case when "
               "coalesce(sum(s.time),0)::numeric(10,2)=0 then 0 else  "
               "coalesce(sum((s.kol_vo-s.brak)*s.cena)/sum(time),0)::numeric(10,2) end as price  from "
               "cmn_classifier.item i, accounts_dep.smena s, accounts_dep.izdel gas, accounts_dep.person p "
               "where i.id_level =2 and s.i_id = gas.id and gas.id_class_item =i.id  and s.data<'01.") +
           sql::integer(nextMonth) + u'.' + sql::integer(nextYear) + QStringLiteral("' and s.data>='01.") +
           sql::integer(month) + u'.' + sql::integer(year) +
           QStringLiteral("' and p.id=s.w_id and p.id=f.id_p and i.id=f.id_nom group by i.s_caption, i.id, "
                          "p.id order by fio),0) where i_mnth = ") +
           sql::integer(month) + QStringLiteral(" and i_year = ") + sql::integer(year) +
           QStringLiteral(" and id_o =7778");
}

}  // namespace utility
