#pragma once

#include "data/dataset.h"
#include "ui/form.h"

class QPushButton;
class QTableView;
struct Roster;
class TDataModule6;

namespace refbooks { class NormGridModel; }

// The norms of one priced operation, in a grid typed into directly: norm quantity, piece price and
// bonus percent. A changed cell is stored as soon as it is left; the grid's last line starts a new
// norm, stored with the operation's id. The last norm of an operation is never deleted, so it stays
// in the price list. "Сохранить" (Enter and Escape alike) stores what is pending and re-reads the
// price list on the same row; the close box drops a pending row.
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
    // stores the row. False when nothing was stored: a value that is no number, or a database error.
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

private:
    void buildControls();
    bool enterRow(int row);
    bool storePending();
    bool convertTyped();
    int pendingRow() const;
    void dropPending();
    void showRow(const QVariant& id, int column);

    Roster& roster_;
    TDataModule6& dm_;
    refbooks::NormGridModel* model_;
    qint64 operationId_ = 0;
    bool newRow_ = false;   // the pending row is one this window started
};
