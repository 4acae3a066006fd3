#include "tests/support/test_desktop.h"

#include "spreadsheet/desktop.h"
#include "spreadsheet/program.h"

namespace testing_support {

TestDesktop::TestDesktop() {
    spreadsheet::Desktop desktop;
    desktop.folder = folder();
    desktop.open = [this](const QString& path) {
        opened << path;
        return openSucceeds;
    };
    spreadsheet::setDesktop(&desktop);
}

TestDesktop::~TestDesktop() { spreadsheet::setDesktop(nullptr); }

QStringList TestDesktop::files() const {
    QStringList out;
    for (const QString& name : QDir(folder()).entryList({QStringLiteral("*.xlsx")}, QDir::Files, QDir::Name))
        out << QDir(folder()).filePath(name);
    return out;
}

}  // namespace testing_support
