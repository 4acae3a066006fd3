#pragma once

#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QRadioButton;

namespace ui {

// A framed group of radio buttons chosen by index (0 for the first item, -1 for none).
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString& name, const QString& caption, const QStringList& items,
               QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* item(int index) const { return items_.value(index); }

signals:
    void itemChosen(int index);

private:
    QButtonGroup* group_;
    QList<QRadioButton*> items_;
};

}  // namespace ui
