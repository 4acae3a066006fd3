#include "ui/lookup_box.h"

#include "data/dataset.h"
#include "data/field.h"

namespace ui {

LookupBox::LookupBox(const QString& name, QWidget* parent) : QComboBox(parent) {
    setObjectName(name);
    setMaxVisibleItems(10);
}

void LookupBox::setListSource(data::Dataset* dataset, const QString& keyField, const QString& listField) {
    if (dataset_) disconnect(dataset_, nullptr, this, nullptr);
    dataset_ = dataset;
    keyField_ = keyField;
    listField_ = listField;
    connect(dataset_, &data::Dataset::rowsChanged, this, &LookupBox::refill);
    refill();
}

void LookupBox::refill() {
    // A closed dataset leaves the list as it was: the choice outlives closing and reopening.
    if (!dataset_ || !dataset_->isOpen()) return;
    const QVariant chosen = keyValue();
    clear();
    const int key = dataset_->columnIndex(keyField_);
    const int list = dataset_->columnIndex(listField_);
    for (int row = 0; row < dataset_->recordCount(); ++row)
        addItem(data::displayText(dataset_->value(row, list)), dataset_->value(row, key));
    setKeyValue(chosen);
}

QVariant LookupBox::keyValue() const {
    return currentIndex() < 0 ? QVariant() : currentData();
}

void LookupBox::setKeyValue(const QVariant& key) {
    int found = -1;
    if (!key.isNull()) {
        for (int i = 0; i < count() && found < 0; ++i)
            if (data::displayText(itemData(i)) == data::displayText(key)) found = i;
    }
    setCurrentIndex(found);
}

}  // namespace ui
