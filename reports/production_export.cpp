#include "reports/production_export.h"

#include "data/dataset.h"
#include "data/sql_text.h"
#include "spreadsheet/writers.h"

namespace reports {

QString productionSql() {
    return QStringList{
        QStringLiteral("select sum(smena.kol_vo-smena.brak)::numeric as kolvo, vid_oper.vid,"),
        QStringLiteral("izdel.nom, oper.naimen, color,izdel.massa*sum(smena.kol_vo-smena.brak) as mass "),
        QStringLiteral(
            "from accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper, accounts_dep.oper where izdel.id=smena.i_id and vid_oper.id=oper.vid"),
        QStringLiteral("and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 "),
        QStringLiteral("group by izdel.nom,color, oper.naimen, vid_oper.vid, izdel.massa order by izdel.nom"),
    }.join(u'\n');
}

QString operationWithColour(const QString& vid, qint64 color) {
    if (color == 1) return vid + QStringLiteral(" (грунт)");
    if (color > 1) return vid + QStringLiteral(" (цвет: ") + sql::integer(color) + u')';
    return vid;
}

bool exportProduction(data::Dataset& rows, spreadsheet::BasicWriter& writer,
                      const std::function<void(int written, int total)>& rowWritten) {
    if (writer.OpenWorkbook(QString()) == -1) return false;
    const int total = rows.recordCount();
    rowWritten(0, total);
    rows.first();
    const QStringList header{QStringLiteral("Наименование"), QStringLiteral("Операция"),
                             QStringLiteral("Вид продукции"), QStringLiteral("Коробки"), QStringLiteral("Кол-во")};
    for (int column = 1; column <= header.size(); ++column) writer.WriteCell(1, column, 1, header[column - 1]);
    for (int written = 0; written < total; ++written) {
        const int row = written + 2;
        const auto field = [&](const char* name) { return rows.field(QString::fromLatin1(name)); };
        writer.WriteCell(1, 1, row, field("nom").asString());
        writer.WriteCell(1, 2, row, operationWithColour(field("vid").asUnpaddedString(), field("color").asInteger()));
        writer.WriteCell(1, 3, row, field("naimen").asInteger() == 0 ? QStringLiteral("Готовая продукция")
                                                                      : QStringLiteral("Заготовки"));
        writer.WriteCell(1, 4, row, spreadsheet::CellValue::number(field("mass").asDecimal()));
        writer.WriteCell(1, 5, row, spreadsheet::CellValue::number(field("kolvo").asInteger()));
        rows.next();
        rowWritten(written + 1, total);
    }
    writer.SetExcelVisible(true);
    return true;
}

}  // namespace reports
