#include "data/server_refusal.h"

#include <libpq-fe.h>

namespace data {

Q_LOGGING_CATEGORY(serverLog, "tabel.server")

namespace {

// A foreign key of the program's tables, by the table that holds it: what a refused delete of the
// row it names means to the user, and what a write naming a row that is not there means.
struct Reference {
    const char* schema;
    const char* table;
    const char* constraint;
    const char* rowKept;
    const char* targetMissing;
};

const Reference references[] = {
    {"accounts_dep", "smena", "smena_w_id_fkey",
     "Работника нельзя удалить: за ним записаны смены",
     "Смена не записана: работника нет в списке рабочих; возможно, его удалили с другого рабочего места"},
    {"accounts_dep", "oper", "oper_vid_fkey",
     "Вид операции нельзя удалить: по нему заведены цены операций",
     "Цена операции не записана: вида операции нет в списке; возможно, его удалили с другого рабочего места"},
};

QString field(const PGresult* result, int code) {
    return QString::fromUtf8(PQresultErrorField(result, code));
}

bool is(const PGresult* result, int code, const char* value) {
    const char* actual = PQresultErrorField(result, code);
    return actual && qstrcmp(actual, value) == 0;
}

// A delete refused by a key is always the side of the row named: deleting the row that names
// another never breaks a key. The program never renumbers a row, so an insert or an update
// refused by a key names a row that is not there.
bool isDelete(const QString& statementText) {
    return statementText.trimmed().startsWith(QLatin1String("delete"), Qt::CaseInsensitive);
}

QString referenceRefusal(const PGresult* result, const QString& statementText) {
    for (const Reference& reference : references) {
        if (is(result, PG_DIAG_SCHEMA_NAME, reference.schema) && is(result, PG_DIAG_TABLE_NAME, reference.table) &&
            is(result, PG_DIAG_CONSTRAINT_NAME, reference.constraint))
            return QString::fromUtf8(isDelete(statementText) ? reference.rowKept : reference.targetMissing);
    }
    return QStringLiteral("Запись связана с другими данными, изменение невозможно (ключ %1 таблицы %2.%3)")
        .arg(field(result, PG_DIAG_CONSTRAINT_NAME), field(result, PG_DIAG_SCHEMA_NAME),
             field(result, PG_DIAG_TABLE_NAME));
}

}  // namespace

QString serverText(const PGresult* result) {
    return QString::fromUtf8(PQresultErrorMessage(result)).trimmed();
}

QString refusalMessage(const PGresult* result, const QString& statementText) {
    // A key's refusal names its constraint; our triggers raise the same error code without one,
    // in Russian already.
    if (is(result, PG_DIAG_SQLSTATE, "23503") && PQresultErrorField(result, PG_DIAG_CONSTRAINT_NAME))
        return referenceRefusal(result, statementText);
    const QString primary = field(result, PG_DIAG_MESSAGE_PRIMARY).trimmed();
    return primary.isEmpty() ? serverText(result) : primary;
}

}  // namespace data
