#pragma once

#include "data/dataset.h"
#include "ui/form.h"

class QPushButton;
class QTableView;
struct Roster;
class TDataModule6;

namespace refbooks {
class NormCellDelegate;
class NormGridModel;
}

// The norms of one priced operation, in a grid typed into directly: norm quantity, piece price and
// bonus percent. A row is stored as soon as a cell is left and the row is whole: all three cells
// filled with numbers; until then it stays pending, and the grid does not let the user leave it
// without saying what is missing. The grid's last line starts a new norm, stored with the
// operation's id. The last norm of an operation is never deleted, so it stays in the price list.
// While a cell is being edited, Tab, Shift+Tab and Enter end the cell and move within the grid;
// otherwise "Сохранить" (Enter and Escape alike) stores what is pending and re-reads the price list
// on the same row. The close box drops a pending row once the user agrees.
class TForm22 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm22(Roster& roster);

    QTableView* DBGrid1;     // "Норматив", "Цена", "Премия, %"
    QPushButton* Button1;    // "Сохранить"
    QPushButton* Button2;    // "Удалить"

    // accounts_dep.norm by norma, filtered to the operation shown.
    data::Dataset norm;

    // Shows the norms of `operationId`; returns the window's result. The operation need not be in
    // the price list yet: a new one has no norm.
    int showNormsOf(qint64 operationId);
    qint64 operationId() const { return operationId_; }

    // Typing `text` into a cell, as the grid does when an edit is committed: the row is entered
    // (row recordCount() is the line of a new norm), the value set, and the column left, which
    // stores the row once all its cells are filled. False when nothing was taken: an unchanged
    // cell, a value that is no number, a pending row elsewhere that cannot be stored, or a
    // database error.
    bool typeInto(int row, int column, const QString& text);

    void formActivate() override;
    void Button1Click();   // "Сохранить"
    void Button2Click();   // "Удалить"

    // The text a cell shows: the price as "#0.00#" with the user's decimal separator; a value
    // typed and not yet stored as it was typed.
    static QString priceText(const QVariant& price);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;   // the close box
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class refbooks::NormCellDelegate;

    // What a typed value did.
    enum class Typed { Unchanged, Refused, Pending, Stored };
    // Where a key that ends a cell's edit moves: one cell on or back, into that cell's editor or not.
    struct Move {
        int step;
        bool edit;
    };
    // What keeps the pending row from being stored, and the cell where it is.
    struct Problem {
        QString text;   // empty when the row can be stored
        int column = 0;
    };

    void buildControls();
    Typed take(int row, int column, const QString& text);
    void cellLeft(const QString& text, Move move);
    void moveFrom(const QModelIndex& cell, bool storedNewRow, Move move);
    void finishCellEdit();
    bool enterRow(int row);
    bool storePending();
    Problem pendingProblem() const;
    void convertTyped();
    int pendingRow() const;
    bool keepToPendingRow(int wantedRow);
    void goToProblem(const Problem& problem);
    void dropPending();
    void showRow(const QVariant& id, int column);

    Roster& roster_;
    TDataModule6& dm_;
    refbooks::NormGridModel* model_;
    refbooks::NormCellDelegate* delegate_;
    qint64 operationId_ = 0;
    bool newRow_ = false;   // the pending row is one this window started
    bool keepingToPendingRow_ = false;
};
