#pragma once

#include "data/dataset.h"
#include "ui/form.h"

class QLineEdit;
class QPushButton;
struct Roster;
class TDataModule6;
namespace ui { class LookupBox; }

// The product editor: mark, factor and nomenclature group of a new product (tag 1) or of the
// current row of Izdel (tag 2), written to the goods register. The list sets the caption, the
// tag and the fields, and opens `item` while the editor is shown.
class TForm7 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm7(Roster& roster);

    QLineEdit* Edit1;         // "Марка"
    QLineEdit* Edit2;         // "Расценка": the factor massa
    ui::LookupBox* cb_item;   // the nomenclature group
    QPushButton* Button1;     // "Записать"
    QPushButton* Button2;     // "Отмена"

    // The nomenclature groups: the classifier's items of level 2, by caption.
    data::Dataset item;

    void formActivate() override;

    void Button1Click();

private:
    void buildControls();
    bool allFieldsFilled() const;
    qint64 groupId() const;
    QString duplicateCheckSql(const QString& mark) const;
    QString insertSql(const QString& mark, const QString& massa) const;
    QString updateSql(const QString& mark, const QString& massa) const;
    qint64 currentProductId() const;

    TDataModule6& dm_;
};
