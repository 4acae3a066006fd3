#pragma once

#include "ui/form.h"

class QLineEdit;
class QPushButton;
struct Roster;
class TDataModule6;

// The operation kind editor: the name of a new kind (tag 1) or of the current row of Vid_oper
// (tag 2), written through the dataset. The list sets the caption, the tag and the name.
class TForm9 : public ui::Form {
    Q_OBJECT

public:
    explicit TForm9(Roster& roster);

    QLineEdit* Edit1;        // "Операция"
    QPushButton* Button1;    // "Записать"
    QPushButton* Button2;    // "Отмена"

    void formActivate() override;

    void Button1Click();

private:
    void buildControls();
    QString duplicateCheckSql(const QString& name) const;
    void writeName(const QString& name);

    TDataModule6& dm_;
};
