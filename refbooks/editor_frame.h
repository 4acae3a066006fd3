#pragma once

#include <QString>

class QFormLayout;
class QGroupBox;
class QPushButton;
namespace ui { class Form; }

namespace refbooks {

// The frame every reference-book editor has: its fields in a captioned group, and under them
// "Записать" (Button1, the default button) and "Отмена" (Button2, which closes without saving).
// The editor adds its rows to `fields` and connects Button1 to its save.
struct EditorFrame {
    QGroupBox* group;
    QFormLayout* fields;
    QPushButton* Button1;
    QPushButton* Button2;
};

EditorFrame layOutEditor(ui::Form& editor, const QString& groupCaption);

}  // namespace refbooks
