#pragma once

#include "data/dataset.h"
#include "ui/form.h"

class QLineEdit;
class QPushButton;
struct Roster;
namespace ui { class DataGrid; }

// What the nomenclature picker hands back to the window that opened it.
class NomenclaturePickReceiver {
public:
    virtual ~NomenclaturePickReceiver() = default;
    virtual void receiveNomenclature(const QString& caption, qint64 id) = 0;
};

// The nomenclature groups (classifier items of level 2) by name, narrowed by the beginning of
// the name; the chosen group goes back to the utility work entry. The search text and the
// narrowed list stay from one use to the next.
class TForm26 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm26(Roster& roster);

    ui::DataGrid* DBGrid1;
    QPushButton* Button1;   // "Выбрать"
    QLineEdit* Edit1;       // the search box
    QPushButton* Button4;   // "Выход"

    data::Dataset item;

    // Opens `item`, shows the picker and closes `item` again; a choice goes to `receiver`.
    void pick(NomenclaturePickReceiver& receiver);

    void formActivate() override;

    void Button1Click();   // also a double-click on the grid

private:
    void buildControls();

    NomenclaturePickReceiver* receiver_ = nullptr;   // set while the picker is shown
};
