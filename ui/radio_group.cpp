#include "ui/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

RadioGroup::RadioGroup(const QString& name, const QString& caption, const QStringList& items,
                       QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        layout->addWidget(button);
        items_ << button;
    }
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::itemChosen);
}

int RadioGroup::itemIndex() const { return group_->checkedId(); }

void RadioGroup::setItemIndex(int index) {
    if (QRadioButton* button = items_.value(index)) button->setChecked(true);
}

}  // namespace ui
