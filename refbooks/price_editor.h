#pragma once

#include "refbooks/pick_receivers.h"
#include "ui/form.h"

class QComboBox;
class QLineEdit;
class QPushButton;
struct Roster;
class TDataModule6;

// The operation price editor: a new priced operation (tag 1) or a change of one (tag 2), joining
// a product chosen in the product list, an operation kind chosen in the operation kind list and a
// product type. The price list sets the caption, the tag and the fields before showing it.
class TForm10 : public ui::Form, public ProductPickReceiver, public OperationKindPickReceiver {
    Q_OBJECT

public:
    explicit TForm10(Roster& roster);

    QLineEdit* Edit1;        // "Марка изделия": the product chosen
    QPushButton* Button3;    // "...": the product list as a picker
    QLineEdit* Edit2;        // "Операция": the operation kind chosen
    QPushButton* Button4;    // "...": the operation kind list as a picker
    QComboBox* ComboBox1;    // "Вид": its index is naimen
    QPushButton* Button1;    // "Записать"
    QPushButton* Button2;    // "Отмена"

    // Kept from one use to the next; only the pickers and the change opener set them.
    qint64 productId = 0;
    qint64 kindId = 0;
    qint64 operationId = 0;   // the priced operation changed (tag 2)

    // The id of the priced operation the last save inserted; 0 when it inserted none.
    qint64 createdOperationId() const { return createdOperationId_; }

    void formActivate() override;

    void Button1Click();   // "Записать"
    void Button3Click();   // choose the product
    void Button4Click();   // choose the operation kind

    void receiveProduct(const QString& marka, qint64 id) override;
    void receiveOperationKind(const QString& vid, qint64 id) override;

private:
    void buildControls();
    QString combination(int naimen) const;

    Roster& roster_;
    TDataModule6& dm_;
    qint64 createdOperationId_ = 0;
};
