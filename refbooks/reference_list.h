#pragma once

#include "ui/data_grid.h"
#include "ui/form.h"
#include "ui/prefix_search.h"

class QHBoxLayout;
class QLineEdit;
class QPushButton;
namespace data { class Dataset; }

namespace refbooks {

// What a reference-book list of one shared dataset has in every book: the grid, the search box
// under it and the four buttons, the list-mode and picker-mode openers, and the choice in picker
// mode. A book adds its own add, change and delete, and what it hands back to its picker's opener.
class ReferenceList : public ui::Form {
    Q_OBJECT

public:
    ui::DataGrid* DBGrid1;
    QLineEdit* Edit1;        // the search box
    QPushButton* Button1;    // "Добавить"
    QPushButton* Button2;    // "Изменить", or "Выбрать" in picker mode
    QPushButton* Button3;    // "Удалить"
    QPushButton* Button4;    // "Выход"

    void formActivate() override;

protected:
    struct Search {
        QString field;     // the field whose beginning (or, with Match::Contains, any part) the text matches
        bool onlyTyping;   // every key but typed characters and Backspace is discarded
        bool visible;      // whether the box shows before the list first serves as a picker
        ui::PrefixSearch::Match match = ui::PrefixSearch::Match::Prefix;
    };

    ReferenceList(const QString& name, const QString& caption, data::Dataset& dataset,
                  const QList<ui::GridColumn>& columns, const Search& search);

    // Shows the list in list mode (tag 0) or in picker mode (tag names the opener), with its
    // dataset read afresh when it is shown and closed once it closes. A picker that restores puts
    // the buttons and the search box back as list mode had them once it closes.
    void openAsList();
    enum class AfterPicking { Restore, Keep };
    void openAsPicker(int tag, AfterPicking after);

    // The steps of openAsPicker before and after the list is shown, for a book whose picker
    // positions its dataset first or leaves it open afterwards.
    void beginPicking(int tag);
    void endPicking(AfterPicking after);

    // Puts a control of the book's own into the row of buttons, after "Удалить".
    void addToButtonRow(QWidget* control);

    // "Изменить", or "Выбрать" in picker mode; a double-click in the grid does the same unless
    // the book decides otherwise.
    void Button2Click();
    virtual void DBGrid1DblClick() { Button2Click(); }

    // The book's own work. Change and delete need a current row: on an empty list (or one its
    // search has emptied) they are not called. The book's picker decides itself what it hands
    // back from an empty list; the picker closes either way, accepted when it handed back.
    virtual void add() = 0;                  // Button1 "Добавить"
    virtual void change() = 0;               // Button2 "Изменить", or a double-click
    virtual void remove() = 0;               // Button3 "Удалить"
    virtual bool handBackCurrentRow() = 0;   // Button2 "Выбрать", or a double-click
    // False keeps the picker open on a row that cannot be chosen, the book having said why.
    virtual bool mayHandBackCurrentRow() { return true; }

private:
    void buildControls(const QList<ui::GridColumn>& columns, const Search& search);
    void Button3Click();

    data::Dataset& dataset_;
    QHBoxLayout* buttonRow_ = nullptr;
};

}  // namespace refbooks
