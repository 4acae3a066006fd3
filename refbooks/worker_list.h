#pragma once

#include "ui/form.h"

class QLineEdit;
class QPushButton;
class TDataModule6;
class WorkerPickReceiver;
struct Roster;
namespace data { class Dataset; }
namespace ui { class DataGrid; }

// The worker list over the shared dataset Workers: in list mode the user adds, changes and
// deletes workers; in picker mode he chooses one worker for the window that opened the list.
class TForm5 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm5(Roster& roster);

    // The tag: list mode, or the opener of the picker.
    enum Mode { ListMode = 0, RecordEditorPicker = 1, UtilityEntryPicker = 24 };

    ui::DataGrid* DBGrid1;
    QPushButton* Button1;   // "Добавить"
    QPushButton* Button2;   // "Изменить" or "Выбрать"
    QPushButton* Button3;   // "Удалить"
    QPushButton* Button4;   // "Выход"
    QLineEdit* Edit1;       // the search box

    // Opens the list in list mode from the journal's menu.
    void showAsList();
    // Opens the list as a picker for `tag`'s window; the chosen worker goes to `receiver`.
    void showAsPicker(int tag, WorkerPickReceiver& receiver);

    void formActivate() override;
    void Button1Click();   // add
    void Button2Click();   // change, or choose in picker mode; also a double-click
    void Button3Click();   // delete

private:
    void buildControls();
    void changeWorker();
    void chooseWorker();
    void reopenAtRow(int recNo);
    data::Dataset& workers() const;

    Roster& roster_;
    TDataModule6& dm_;
    WorkerPickReceiver* receiver_ = nullptr;   // set while the picker is shown
};
