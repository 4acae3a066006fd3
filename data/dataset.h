#pragma once

#include "data/command.h"
#include "data/field.h"
#include "data/row_filter.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

struct pg_result;

namespace data {

class Connection;

// A query read whole into memory when opened (a static snapshot): rows stay as they were read
// until the dataset is closed and opened again. Fields are found by name without regard to case,
// row numbers start at 1, and a client-side row filter narrows the rows already read.
//
// A dataset with an update table also writes like a table component: append() or edit(), set
// field values, post(); deleteCurrent() removes the current row from the table.
class Dataset : public QObject {
    Q_OBJECT

public:
    explicit Dataset(Connection& connection, QString sql = {}, QObject* parent = nullptr);

    const QString& sql() const { return sql_; }
    void setSql(const QString& sql) { sql_ = sql; }
    void setParam(const QString& name, const QVariant& value) { params_.set(name, value); }
    QVariant param(const QString& name) const { return params_.value(name); }

    // Text fields longer than their declared size read cut to it; the whole text stays in the
    // row, so that a value written back unchanged is not shortened (see wholeField).
    void setFieldSize(const QString& field, int size);

    void open();   // throws DbError; the dataset stays closed
    void close();
    void reopen() { close(); open(); }
    bool isOpen() const { return open_; }

    int recordCount() const { return int(visible_.size()); }
    bool isEmpty() const { return visible_.empty(); }
    int recNo() const { return current_ + 1; }   // 0 when there is no row
    void setRecNo(int recNo);                    // clamped to the rows there are
    void first() { setRecNo(1); }
    void last() { setRecNo(recordCount()); }
    void next() { setRecNo(recNo() + 1); }
    void prior() { if (recNo() > 1) setRecNo(recNo() - 1); }

    // Moves to the first visible row whose `field` holds `value` (numbers compare by their exact
    // value, text as shown); false, and the current row unchanged, when there is none.
    bool locate(const QString& field, const QVariant& value);

    Field field(const QString& name) const;       // of the current row; NULL when there is none
    Field wholeField(const QString& name) const;  // the same, never cut to its declared size
    QVariant value(int row, int column) const;    // row 0-based among the visible rows
    int columnCount() const { return int(columns_.size()); }
    int columnIndex(const QString& name) const;  // -1 when the dataset has no such field
    QString columnName(int column) const { return columns_.at(column); }

    // The filter text applies while the filter is switched on; both survive close and open.
    void setFilter(const QString& text);
    const QString& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // Writing through the dataset. Keys identify the row to change or delete.
    void setUpdateTable(const QString& table, const QStringList& keyFields);
    void append();
    void edit();   // on an empty dataset this appends
    void setFieldValue(const QString& name, const QVariant& value);
    void post();
    void cancel();   // leaves append() or edit() without writing; a failed post() stays pending
    void deleteCurrent();
    bool isEditing() const { return state_ != EditState::Browse; }     // after append() or edit()
    bool isInserting() const { return state_ == EditState::Insert; }   // after append()
    // A value was set since append() or edit(): post() would write something.
    bool isModified() const;

signals:
    void aboutToChangeRows();
    void rowsChanged();
    void currentChanged(int recNo);

private:
    using Row = std::vector<QVariant>;

    int requireColumn(const QString& name) const;
    QVariant cutToSize(int column, const QVariant& value) const;
    void applyFilter();
    void setCurrent(int index);
    Row rowFromResult(const ::pg_result* result, int tuple) const;
    QString keyCondition(Parameters& params, const Row& row) const;

    Connection& connection_;
    QString sql_;
    Parameters params_;
    QHash<QString, int> fieldSizes_;   // lower-case name -> size

    bool open_ = false;
    QStringList columns_;
    std::vector<unsigned int> columnTypes_;
    std::vector<Row> rows_;
    std::vector<int> visible_;   // indexes into rows_
    int current_ = -1;           // index into visible_

    QString filterText_;
    bool filtered_ = false;
    std::optional<RowFilter> filter_;

    QString updateTable_;
    QStringList keyFields_;
    enum class EditState { Browse, Insert, Edit } state_ = EditState::Browse;
    Row pending_;
    std::vector<bool> changed_;
};

}  // namespace data
