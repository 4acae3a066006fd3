#include "tests/support/test_desktop.h"

#include "spreadsheet/desktop.h"
#include "spreadsheet/program.h"

namespace testing_support {

TestDesktop::TestDesktop() {
    spreadsheet::Desktop desktop;
    desktop.folder = folder();
    desktop.open = [this](const QString& path, const spreadsheet::OpenOutcome& outcome) {
        opened << path;
        if (answersLater) pending_.push_back(outcome);
        else outcome(openSucceeds);
    };
    spreadsheet::setDesktop(&desktop);
}

TestDesktop::~TestDesktop() { spreadsheet::setDesktop(nullptr); }

void TestDesktop::answerPending(bool shown) {
    std::vector<spreadsheet::OpenOutcome> waiting;
    waiting.swap(pending_);
    for (const spreadsheet::OpenOutcome& outcome : waiting) outcome(shown);
}

QStringList TestDesktop::files() const {
    QStringList out;
    for (const QString& name : QDir(folder()).entryList({QStringLiteral("*.xlsx")}, QDir::Files, QDir::Name))
        out << QDir(folder()).filePath(name);
    return out;
}

}  // namespace testing_support
