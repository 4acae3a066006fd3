#include "ui/data_grid.h"

#include "data/dataset.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace ui {
namespace {

// A cell whose text the window colours keeps that colour on the selected row too: the highlight
// marks the row with its background, and the window's colour still tells the cell's meaning.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(Qt::ForegroundRole).isValid())
            option->palette.setBrush(QPalette::HighlightedText, option->palette.brush(QPalette::Text));
    }
};

}  // namespace

DataGrid::DataGrid(const QString& name, QWidget* parent)
    : QTableView(parent), model_(new DatasetModel(this)) {
    setObjectName(name);
    // The column widths are given in pixels for a compact grid font.
    QFont compact = font();
    compact.setPointSize(8);
    setFont(compact);
    setModel(model_);
    setItemDelegate(new CellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setDefaultSectionSize(defaultColumnWidth);
    horizontalHeader()->setHighlightSections(false);

    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnLayout();
        showDatasetRow();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (following_ || !current.isValid() || !dataset()) return;
                following_ = true;
                dataset()->setRecNo(current.row() + 1);
                following_ = false;
            });
}

void DataGrid::setColumns(const QList<GridColumn>& columns) {
    model_->setColumns(columns);
    applyColumnLayout();
}

void DataGrid::setDataset(data::Dataset* dataset) {
    if (data::Dataset* old = this->dataset()) disconnect(old, nullptr, this, nullptr);
    model_->setDataset(dataset);
    if (dataset)
        connect(dataset, &data::Dataset::currentChanged, this, [this] { showDatasetRow(); });
    showDatasetRow();
}

void DataGrid::applyColumnLayout() {
    const QList<GridColumn>& columns = model_->columns();
    for (int c = 0; c < columns.size(); ++c) {
        setColumnHidden(c, !columns[c].visible);
        setColumnWidth(c, columns[c].width > 0 ? columns[c].width : defaultColumnWidth);
    }
}

void DataGrid::showDatasetRow() {
    if (following_) return;
    following_ = true;
    const int row = dataset() && dataset()->isOpen() ? dataset()->recNo() - 1 : -1;
    if (row >= 0 && row < model_->rowCount()) {
        const QModelIndex index = model_->index(row, 0);
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clear();
    }
    following_ = false;
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}

}  // namespace ui
