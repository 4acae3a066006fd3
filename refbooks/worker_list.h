#pragma once

#include "refbooks/reference_list.h"

class TDataModule6;
class WorkerPickReceiver;
struct Roster;

// The worker list over the shared dataset Workers: in list mode the user adds, changes and
// deletes workers; in picker mode he chooses one worker for the window that opened the list.
class TForm5 : public refbooks::ReferenceList {
    Q_OBJECT

public:
    explicit TForm5(Roster& roster);

    // The tag: list mode, or the opener of the picker.
    enum Mode { ListMode = 0, RecordEditorPicker = 1, UtilityEntryPicker = 24 };

    // Opens the list in list mode from the journal's menu.
    void showAsList();
    // Opens the list as a picker for `tag`'s window; the chosen worker goes to `receiver`.
    void showAsPicker(int tag, WorkerPickReceiver& receiver);

protected:
    void add() override;
    void change() override;
    void remove() override;
    bool handBackCurrentRow() override;

private:
    void reopenAtRow(int recNo);
    data::Dataset& workers() const;

    Roster& roster_;
    TDataModule6& dm_;
    WorkerPickReceiver* receiver_ = nullptr;   // set while the picker is shown
};
