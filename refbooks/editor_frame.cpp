#include "refbooks/editor_frame.h"

#include "ui/form.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace refbooks {

EditorFrame layOutEditor(ui::Form& editor, const QString& groupCaption) {
    EditorFrame frame;
    frame.group = new QGroupBox(groupCaption, &editor);
    frame.fields = new QFormLayout(frame.group);
    frame.Button1 = ui::makeButton(&editor, QStringLiteral("Button1"), QStringLiteral("Записать"));
    frame.Button2 = ui::makeButton(&editor, QStringLiteral("Button2"), QStringLiteral("Отмена"));
    frame.Button1->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(frame.Button1);
    buttons->addWidget(frame.Button2);

    auto* layout = new QVBoxLayout(&editor);
    layout->addWidget(frame.group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QObject::connect(frame.Button2, &QPushButton::clicked, &editor, &QDialog::reject);
    return frame;
}

}  // namespace refbooks
