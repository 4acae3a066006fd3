#pragma once

#include "data/dataset.h"
#include "refbooks/reference_list.h"

class ProductPickReceiver;
struct Roster;
class TDataModule6;

// The product list over the shared dataset Izdel: the products in list mode (add, change,
// delete), or a picker of one product for the operation price editor. Products are read from
// accounts_dep.izdel and written to the goods register by the editor TForm7.
class TForm3 : public refbooks::ReferenceList {
    Q_OBJECT

public:
    explicit TForm3(Roster& roster);

    // Opens the list in list mode from the journal's menu.
    void showAsList();

    // Opens the list to choose one product; the choice goes to `receiver`.
    void showAsPicker(ProductPickReceiver& receiver);

    // The counts the delete asks about: the product's shift records since the cut-off, and its
    // priced operations.
    data::Dataset Izdel_Smena;
    data::Dataset ii_oper;

protected:
    void add() override;
    void change() override;
    void remove() override;
    bool handBackCurrentRow() override;

private:
    // What the user agreed to remove with a product.
    struct Deletion {
        bool product = false;   // nothing at all goes without it
        bool prices = false;
        bool records = false;
    };

    void showEditor();
    void countRecordsAndPrices(qint64 id);
    Deletion askWhatToDelete();
    void deleteProduct(qint64 id, const Deletion& deletion);

    Roster& roster_;
    TDataModule6& dm_;
    ProductPickReceiver* receiver_ = nullptr;
};
