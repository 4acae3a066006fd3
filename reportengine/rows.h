#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace data { class Dataset; }

namespace reportengine {

// The rows a report runs over, read by field name. A report reads them while it is prepared and
// never after, so the dataset may be closed once the pages exist.
class Rows {
public:
    virtual ~Rows() = default;
    virtual int count() const = 0;
    virtual QVariant value(int row, const QString& field) const = 0;   // NULL for an unknown field
};

// The visible rows of an open dataset.
class DatasetRows : public Rows {
public:
    explicit DatasetRows(const data::Dataset& dataset) : dataset_(dataset) {}
    int count() const override;
    QVariant value(int row, const QString& field) const override;

private:
    const data::Dataset& dataset_;
};

// Rows written out in a table, for reports prepared without a database.
class TableRows : public Rows {
public:
    TableRows(QStringList fields, std::vector<QVariantList> rows)
        : fields_(std::move(fields)), rows_(std::move(rows)) {}
    int count() const override { return int(rows_.size()); }
    QVariant value(int row, const QString& field) const override;

private:
    QStringList fields_;
    std::vector<QVariantList> rows_;
};

}  // namespace reportengine
