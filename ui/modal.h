#pragma once

namespace ui {

class Form;

// Shows windows modally. The program runs each window's own event loop; tests replace the runner
// with one that plays a scripted user instead of waiting for one.
class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // Shows `form` modally, calls its formActivate() once it is up, returns its result.
    virtual int run(Form& form) = 0;
};

void setModalRunner(ModalRunner* runner);   // nullptr restores the desktop's runner

// Shows `form` modally and returns its result (QDialog::Accepted or Rejected). When it closes,
// the window it was opened from becomes active again and its formActivate() runs.
int showModal(Form& form);

}  // namespace ui
