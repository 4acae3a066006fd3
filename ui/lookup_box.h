#pragma once

#include <QComboBox>
#include <QVariant>

namespace data { class Dataset; }

namespace ui {

// A drop-down list over the rows of a dataset: it shows one field and keeps another as the key.
// It is refilled whenever the dataset is read again or filtered, and keeps the chosen key as long
// as a row with that key is still there.
class LookupBox : public QComboBox {
    Q_OBJECT

public:
    LookupBox(const QString& name, QWidget* parent = nullptr);

    void setListSource(data::Dataset* dataset, const QString& keyField, const QString& listField);

    QVariant keyValue() const;                 // null when nothing is chosen
    void setKeyValue(const QVariant& key);     // a key no row has chooses nothing

private:
    void refill();

    data::Dataset* dataset_ = nullptr;
    QString keyField_;
    QString listField_;
};

}  // namespace ui
