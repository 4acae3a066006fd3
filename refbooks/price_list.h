#pragma once

#include "data/dataset.h"
#include "data/decimal.h"
#include "refbooks/reference_list.h"

class QCheckBox;
class OperationPickReceiver;
struct Roster;
class TDataModule6;

// The operation price list over the shared dataset Oper: the priced operations that have norms,
// each with its lowest norm price and its number of norms. In list mode the user adds, changes and
// deletes priced operations, opens their norms (double-click while "Цены" is ticked) and exports
// the price list; in picker mode the shift record editor chooses one operation and its price.
class TForm4 : public refbooks::ReferenceList {
    Q_OBJECT

public:
    explicit TForm4(Roster& roster);

    // The tag: list mode, or the picker of the shift record editor.
    enum Mode { ListMode = 0, RecordEditorPicker = 1 };

    QPushButton* Button5;   // "Excel"
    QCheckBox* CheckBox1;   // "Цены": a double-click in list mode opens the norms

    // The export's own query: every priced operation, with or without norms, priced by cena_new.
    data::Dataset XLS_Rep;

    // Opens the list in list mode from the journal's menu.
    void showAsList();

    // Opens the list for the shift record editor, on the row of `operationId` (the first row when it
    // is 0 or not listed). The choice goes to `receiver`. Afterwards Oper stays open, its search
    // switched off, on the row chosen.
    void showAsPicker(OperationPickReceiver& receiver, qint64 operationId = 0);

    void Button5Click();   // the price-list export

protected:
    void add() override;
    void change() override;
    void remove() override;
    bool handBackCurrentRow() override;
    bool mayHandBackCurrentRow() override;
    void DBGrid1DblClick() override;

private:
    void addFirstNorm(qint64 operationId);
    data::Decimal finalPrice() const;
    QString operationText(qint64 productId);

    Roster& roster_;
    TDataModule6& dm_;
    OperationPickReceiver* receiver_ = nullptr;   // set while the picker is shown
};
