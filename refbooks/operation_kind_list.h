#pragma once

#include "refbooks/reference_list.h"

class OperationKindPickReceiver;
struct Roster;
class TDataModule6;

// The operation kind list over the shared dataset Vid_oper: the kinds in list mode (add, rename,
// delete), or a picker of one kind for the operation price editor.
class TForm8 : public refbooks::ReferenceList {
    Q_OBJECT

public:
    explicit TForm8(Roster& roster);

    // Opens the list in list mode from the journal's menu.
    void showAsList();

    // Opens the list to choose one kind; the choice goes to `receiver`.
    void showAsPicker(OperationKindPickReceiver& receiver);

protected:
    void add() override;
    void change() override;
    void remove() override;
    bool handBackCurrentRow() override;

private:
    Roster& roster_;
    TDataModule6& dm_;
    OperationKindPickReceiver* receiver_ = nullptr;
};
