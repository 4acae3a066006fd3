#include "ui/modal.h"

#include "ui/form.h"
#include "ui/guard.h"

#include <QTimer>
#include <vector>

namespace ui {
namespace {

class ExecRunner : public ModalRunner {
public:
    int run(Form& form) override {
        QTimer::singleShot(0, &form, guarded([&form] { form.formActivate(); }));
        return form.exec();
    }
};

ExecRunner desktopRunner;
ModalRunner* current = &desktopRunner;
std::vector<Form*> shown;   // the modal windows open now, the topmost last

}  // namespace

void setModalRunner(ModalRunner* runner) { current = runner ? runner : &desktopRunner; }

int showModal(Form& form) {
    shown.push_back(&form);
    int result = 0;
    try {
        result = current->run(form);
    } catch (...) {
        shown.pop_back();
        throw;
    }
    shown.pop_back();
    if (!shown.empty()) {
        Form* opener = shown.back();
        runGuarded([opener] { opener->formActivate(); });
    }
    return result;
}

}  // namespace ui
