#include "ui/dataset_model.h"

#include "data/dataset.h"
#include "data/field.h"

#include <QFont>

namespace ui {

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DatasetModel::setColumns(const QList<GridColumn>& columns) {
    beginResetModel();
    columns_ = columns;
    resolveFields();
    endResetModel();
}

void DatasetModel::setColumn(int column, const GridColumn& value) {
    const bool sameField = columns_.at(column).field == value.field;
    columns_[column] = value;
    if (!sameField) resolveFields();
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (rowCount() > 0) emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

void DatasetModel::setDataset(data::Dataset* dataset) {
    if (dataset == dataset_) return;
    beginResetModel();
    if (dataset_) disconnect(dataset_, nullptr, this, nullptr);
    dataset_ = dataset;
    if (dataset_) {
        connect(dataset_, &data::Dataset::aboutToChangeRows, this, [this] { beginResetModel(); });
        connect(dataset_, &data::Dataset::rowsChanged, this, [this] {
            resolveFields();
            endResetModel();
        });
    }
    resolveFields();
    endResetModel();
}

void DatasetModel::resolveFields() {
    fieldIndexes_.clear();
    for (const GridColumn& column : columns_)
        fieldIndexes_ << (dataset_ && dataset_->isOpen() ? dataset_->columnIndex(column.field) : -1);
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !dataset_ || !dataset_->isOpen()) return 0;
    return dataset_->recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DatasetModel::cellValue(int row, int column) const {
    const int field = fieldIndexes_.value(column, -1);
    if (!dataset_ || field < 0 || row < 0 || row >= rowCount()) return {};
    return dataset_->value(row, field);
}

CellStyle DatasetModel::cellStyle(int row, int column) const {
    CellStyle style;
    style.text = columns_.at(column).color;
    if (styler_) styler_(cellValue(row, column), columns_.at(column), style);
    return style;
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant value = cellValue(index.row(), index.column());
        if (value.isNull()) return columns_.at(index.column()).nullText;
        return data::displayText(value);
    }
    case Qt::TextAlignmentRole: return QVariant(columns_.at(index.column()).alignment);
    case Qt::FontRole: {
        if (!cellStyle(index.row(), index.column()).bold) return {};
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::ForegroundRole: {
        const QColor color = cellStyle(index.row(), index.column()).text;
        return color.isValid() ? QVariant(color) : QVariant();
    }
    case Qt::BackgroundRole: {
        const QColor color = cellStyle(index.row(), index.column()).background;
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default: return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size()) return {};
    switch (role) {
    case Qt::DisplayRole: return columns_.at(section).title;
    case Qt::TextAlignmentRole: return QVariant(Qt::AlignCenter);
    case Qt::FontRole: {
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::ForegroundRole: {
        const QColor color = columns_.at(section).titleColor;
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default: return {};
    }
}

}  // namespace ui
