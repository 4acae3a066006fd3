#pragma once

#include "data/command.h"
#include "data/dataset.h"
#include "ui/form.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
struct Roster;
namespace ui { class LookupBox; }

// The worker editor: a new worker, or the name and position text of one already listed.
// The lookup boxes keep their choice from one use to the next; neither mode sets them from the
// worker's stored data.
class TForm2 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm2(Roster& roster);

    enum Mode { NewWorker = 1, ChangeWorker = 2 };

    QGroupBox* GroupBox1;
    QLineEdit* Edit1;                 // "ФИО"
    ui::LookupBox* LCB_department;    // its caption is stored as the position text
    ui::LookupBox* LCB_staffpos;      // offered for choice; not stored
    ui::LookupBox* LCB_roles;         // offered for choice; not stored
    QPushButton* Button1;             // "Записать"
    QPushButton* Button2;             // "Отмена"

    data::Dataset department;
    data::Dataset staffpos;
    data::Dataset roles;
    data::Command cmd_person;   // the editor's writes, and the list's delete

    qint64 workerId = 0;   // the worker being changed

    // Prepare the editor and show it modally; return its result.
    int showForNew();
    int showForChange(qint64 id, const QString& fio);

    void formActivate() override;
    void Button1Click();   // "Записать"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void watchWheelOverEditor();
    void reopenLookupTables();
    QString saveStatement(const QString& name) const;
    ui::LookupBox* focusedLookupBox() const;
};
