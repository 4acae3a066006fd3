#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <functional>

namespace data { class Dataset; }

namespace ui {

// One column of a data grid: its bold, centred title, the field it shows, its width in pixels
// (0 for the grid's default) and the alignment of its cells. A window may colour a column's text
// and its title (invalid: the grid's own), mark it read-only, and name what a cell without a
// value says instead of standing empty.
struct GridColumn {
    QString title;
    QString field;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool visible = true;
    QColor color;
    QColor titleColor;
    bool readOnly = false;
    QString nullText;
};

// How one cell is drawn when the window draws it itself; it starts with its column's colour.
struct CellStyle {
    bool bold = false;
    QColor text;         // invalid: the grid's own
    QColor background;   // invalid: the grid's own
};
using CellStyler = std::function<void(const QVariant& value, const GridColumn& column, CellStyle& style)>;

// The rows of a dataset as a table of columns; it follows the dataset when it is opened, closed,
// filtered or written.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit DatasetModel(QObject* parent = nullptr);

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return columns_; }
    // Changes how a column looks without reading the rows again.
    void setColumn(int column, const GridColumn& value);
    void setDataset(data::Dataset* dataset);
    data::Dataset* dataset() const { return dataset_; }
    void setCellStyler(CellStyler styler) { styler_ = std::move(styler); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The value under a cell, as the dataset holds it.
    QVariant cellValue(int row, int column) const;
    CellStyle cellStyle(int row, int column) const;

private:
    void resolveFields();

    QList<GridColumn> columns_;
    QList<int> fieldIndexes_;   // per column, the dataset's column or -1
    data::Dataset* dataset_ = nullptr;   // datasets live as long as the windows
    CellStyler styler_;
};

}  // namespace ui
