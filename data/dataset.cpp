#include "data/dataset.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/pg_values.h"

#include <libpq-fe.h>

#include <algorithm>

namespace data {

namespace {
// What post() reports when the row it changes was deleted meanwhile.
const QString rowGoneMessage = QStringLiteral(
    "Изменяемая строка не найдена: возможно, её удалили с другого рабочего места. Изменения не сохранены.");
}  // namespace

Dataset::Dataset(Connection& connection, QString sql, QObject* parent)
    : QObject(parent), connection_(connection), sql_(std::move(sql)) {}

void Dataset::setFieldSize(const QString& field, int size) { fieldSizes_[field.toLower()] = size; }

void Dataset::open() {
    if (open_) return;
    const Result result = connection_.exec(params_.bind(sql_));

    emit aboutToChangeRows();
    columns_.clear();
    columnTypes_.clear();
    rows_.clear();
    const int columnCount = PQnfields(result.get());
    for (int c = 0; c < columnCount; ++c) {
        columns_ << QString::fromUtf8(PQfname(result.get(), c));
        columnTypes_.push_back(PQftype(result.get(), c));
    }
    const int rowCount = PQntuples(result.get());
    rows_.reserve(rowCount);
    for (int r = 0; r < rowCount; ++r) rows_.push_back(rowFromResult(result.get(), r));
    open_ = true;
    state_ = EditState::Browse;
    applyFilter();
    emit rowsChanged();
    emit currentChanged(recNo());
}

Dataset::Row Dataset::rowFromResult(const PGresult* result, int tuple) const {
    Row row(columns_.size());
    for (int c = 0; c < int(columns_.size()); ++c) {
        if (PQgetisnull(result, tuple, c)) {
            row[c] = QVariant();
            continue;
        }
        row[c] = fromPgText(columnTypes_[c], PQgetvalue(result, tuple, c), PQgetlength(result, tuple, c));
    }
    return row;
}

void Dataset::close() {
    if (!open_) return;
    emit aboutToChangeRows();
    open_ = false;
    rows_.clear();
    visible_.clear();
    current_ = -1;
    state_ = EditState::Browse;
    emit rowsChanged();
    emit currentChanged(0);
}

void Dataset::setRecNo(int recNo) {
    if (visible_.empty()) return setCurrent(-1);
    setCurrent(std::clamp(recNo, 1, recordCount()) - 1);
}

void Dataset::setCurrent(int index) {
    if (index == current_) return;
    current_ = index;
    emit currentChanged(recNo());
}

bool Dataset::locate(const QString& field, const QVariant& value) {
    const int c = requireColumn(field);
    const auto wantedNumber = decimalOf(value);
    const QString wantedText = displayText(value);
    for (int i = 0; i < int(visible_.size()); ++i) {
        const QVariant& held = rows_[visible_[i]][c];
        const auto number = wantedNumber ? decimalOf(held) : std::nullopt;
        if (number ? *number == *wantedNumber : !held.isNull() && displayText(held) == wantedText) {
            setCurrent(i);
            return true;
        }
    }
    return false;
}

int Dataset::columnIndex(const QString& name) const {
    for (int c = 0; c < int(columns_.size()); ++c)
        if (columns_[c].compare(name, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

int Dataset::requireColumn(const QString& name) const {
    const int c = columnIndex(name);
    if (c < 0) throw DbError(QStringLiteral("Поле '%1' не найдено").arg(name));
    return c;
}

QVariant Dataset::cutToSize(int column, const QVariant& value) const {
    if (value.typeId() != QMetaType::QString) return value;
    const auto size = fieldSizes_.constFind(columns_[column].toLower());
    if (size == fieldSizes_.cend()) return value;
    // Characters as the server counts them: a character beyond the basic plane (an emoji) takes
    // two UTF-16 units and is kept whole or left out, never cut in half.
    const QString text = value.toString();
    qsizetype units = 0;
    for (int kept = 0; kept < *size && units < text.size(); ++kept)
        units += text[units].isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    return units == text.size() ? value : QVariant(text.left(units));
}

Field Dataset::wholeField(const QString& name) const {
    const int c = requireColumn(name);
    if (state_ != EditState::Browse) return Field(pending_[c]);
    if (current_ < 0) return Field();
    return Field(rows_[visible_[current_]][c]);
}

Field Dataset::field(const QString& name) const {
    return Field(cutToSize(requireColumn(name), wholeField(name).value()));
}

QVariant Dataset::value(int row, int column) const { return cutToSize(column, rows_[visible_[row]][column]); }

void Dataset::setFilter(const QString& text) {
    // Parsed here so that a wrong text fails before any row changes.
    filter_ = text.isEmpty() ? std::nullopt : std::optional<RowFilter>(RowFilter::parse(text));
    filterText_ = text;
    if (filtered_) {
        emit aboutToChangeRows();
        applyFilter();
        emit rowsChanged();
        emit currentChanged(recNo());
    }
}

void Dataset::setFiltered(bool on) {
    if (on == filtered_) return;
    filtered_ = on;
    emit aboutToChangeRows();
    applyFilter();
    emit rowsChanged();
    emit currentChanged(recNo());
}

void Dataset::applyFilter() {
    visible_.clear();
    const bool filtering = filtered_ && filter_;
    for (int r = 0; r < int(rows_.size()); ++r) {
        const auto valueOf = [&](const QString& name) { return rows_[r][requireColumn(name)]; };
        if (!filtering || filter_->matches(valueOf)) visible_.push_back(r);
    }
    current_ = visible_.empty() ? -1 : 0;
}

void Dataset::setUpdateTable(const QString& table, const QStringList& keyFields) {
    updateTable_ = table;
    keyFields_ = keyFields;
}

void Dataset::append() {
    if (!open_) throw DbError(QStringLiteral("Набор данных закрыт"));
    state_ = EditState::Insert;
    pending_.assign(columns_.size(), QVariant());
    changed_.assign(columns_.size(), false);
}

void Dataset::edit() {
    if (current_ < 0) return append();
    state_ = EditState::Edit;
    pending_ = rows_[visible_[current_]];
    changed_.assign(columns_.size(), false);
}

void Dataset::setFieldValue(const QString& name, const QVariant& value) {
    if (state_ == EditState::Browse) throw DbError(QStringLiteral("Набор данных не в режиме правки"));
    const int c = requireColumn(name);
    pending_[c] = value;
    changed_[c] = true;
}

QString Dataset::keyCondition(Parameters& params, const Row& row) const {
    QStringList terms;
    for (const QString& key : keyFields_) {
        params.set(QStringLiteral("k_") + key, row[requireColumn(key)]);
        terms << QStringLiteral("%1 is not distinct from :k_%1").arg(key);
    }
    return terms.join(QStringLiteral(" and "));
}

void Dataset::post() {
    if (state_ == EditState::Browse) return;
    Parameters params;
    QStringList names;
    for (int c = 0; c < int(columns_.size()); ++c) {
        if (!changed_[c]) continue;
        names << columns_[c];
        params.set(QStringLiteral("v_") + columns_[c], pending_[c]);
    }
    if (state_ == EditState::Insert) {
        QStringList values;
        for (const QString& name : names) values << QStringLiteral(":v_") + name;
        const QString sql = QStringLiteral("insert into %1 (%2) values (%3) returning *")
                                .arg(updateTable_, names.join(u','), values.join(u','));
        const Result result = connection_.exec(params.bind(sql));
        Row row(columns_.size());
        for (int c = 0; c < PQnfields(result.get()); ++c) {
            const int mine = columnIndex(QString::fromUtf8(PQfname(result.get(), c)));
            if (mine >= 0 && !PQgetisnull(result.get(), 0, c))
                row[mine] = fromPgText(columnTypes_[mine], PQgetvalue(result.get(), 0, c),
                                       PQgetlength(result.get(), 0, c));
        }
        emit aboutToChangeRows();
        rows_.push_back(std::move(row));
        visible_.push_back(int(rows_.size()) - 1);
        current_ = int(visible_.size()) - 1;
        state_ = EditState::Browse;
        emit rowsChanged();
        emit currentChanged(recNo());
        return;
    }
    if (!names.isEmpty()) {
        QStringList sets;
        for (const QString& name : names) sets << QStringLiteral("%1=:v_%1").arg(name);
        const Row& original = rows_[visible_[current_]];
        const QString sql = QStringLiteral("update %1 set %2 where %3")
                                .arg(updateTable_, sets.join(u','), keyCondition(params, original));
        const Result result = connection_.exec(params.bind(sql));
        // Another workstation deleted the row (or changed its key) since it was read: nothing
        // was written, and the row stays pending as a failed post does.
        if (QByteArray(PQcmdTuples(result.get())).toInt() == 0) throw DbError(rowGoneMessage);
    }
    emit aboutToChangeRows();
    rows_[visible_[current_]] = pending_;
    state_ = EditState::Browse;
    emit rowsChanged();
}

bool Dataset::isModified() const {
    return state_ != EditState::Browse && std::find(changed_.begin(), changed_.end(), true) != changed_.end();
}

void Dataset::cancel() { state_ = EditState::Browse; }

void Dataset::deleteCurrent() {
    if (current_ < 0) return;
    Parameters params;
    const int row = visible_[current_];
    const QString sql = QStringLiteral("delete from %1 where %2")
                            .arg(updateTable_, keyCondition(params, rows_[row]));
    connection_.exec(params.bind(sql));
    emit aboutToChangeRows();
    rows_.erase(rows_.begin() + row);
    applyFilter();
    emit rowsChanged();
    emit currentChanged(recNo());
}

}  // namespace data
