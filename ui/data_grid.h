#pragma once

#include "ui/dataset_model.h"

#include <QTableView>

namespace ui {

// A read-only grid over a dataset with whole-row selection. The selected row and the dataset's
// current row follow each other both ways.
class DataGrid : public QTableView {
    Q_OBJECT

public:
    DataGrid(const QString& name, QWidget* parent = nullptr);

    void setColumns(const QList<GridColumn>& columns);
    void setDataset(data::Dataset* dataset);   // points the grid at another dataset
    data::Dataset* dataset() const { return model_->dataset(); }
    void setCellStyler(CellStyler styler) { model_->setCellStyler(std::move(styler)); }
    DatasetModel* datasetModel() const { return model_; }

    static constexpr int defaultColumnWidth = 64;

signals:
    // A double-click anywhere on the grid, on a row or not.
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void applyColumnLayout();
    void showDatasetRow();

    DatasetModel* model_;
    bool following_ = false;   // true while one side follows the other
};

}  // namespace ui
