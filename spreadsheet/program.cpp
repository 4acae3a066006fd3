#include "spreadsheet/program.h"

#include "spreadsheet/desktop.h"
#include "spreadsheet/writers.h"

#include <memory>
#include <optional>

namespace spreadsheet {
namespace {

std::optional<Desktop> replaced;

Desktop current() { return replaced ? *replaced : Desktop::user(); }

struct Writers {
    DesktopLauncher basicLauncher{current};
    DesktopLauncher formattingLauncher{current};
    BasicWriter basic{basicLauncher};
    FormattingWriter formatting{formattingLauncher};
};

std::unique_ptr<Writers>& writers() {
    static std::unique_ptr<Writers> instance;
    if (!instance) instance = std::make_unique<Writers>();
    return instance;
}

}  // namespace

BasicWriter& basicWriter() { return writers()->basic; }

FormattingWriter& formattingWriter() { return writers()->formatting; }

void setDesktop(const Desktop* desktop) {
    replaced = desktop ? std::optional<Desktop>(*desktop) : std::nullopt;
    writers() = std::make_unique<Writers>();
}

}  // namespace spreadsheet
