#include "reportengine/rows.h"

#include "data/dataset.h"

namespace reportengine {

int DatasetRows::count() const { return dataset_.isOpen() ? dataset_.recordCount() : 0; }

QVariant DatasetRows::value(int row, const QString& field) const {
    const int column = dataset_.columnIndex(field);
    return column < 0 ? QVariant() : dataset_.value(row, column);
}

QVariant TableRows::value(int row, const QString& field) const {
    for (qsizetype column = 0; column < fields_.size(); ++column)
        if (fields_[column].compare(field, Qt::CaseInsensitive) == 0) return rows_.at(row).value(column);
    return {};
}

}  // namespace reportengine
