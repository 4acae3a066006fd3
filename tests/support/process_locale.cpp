#include "tests/support/process_locale.h"

#include <clocale>
#include <gtest/gtest.h>

namespace testing_support {

ProcessLocale::ProcessLocale(const char* name) : previousC_(std::setlocale(LC_ALL, nullptr)) {
    if (!std::setlocale(LC_ALL, name)) ADD_FAILURE() << "the machine has no locale " << name;
    QLocale::setDefault(QLocale(QString::fromLatin1(name).section(u'.', 0, 0)));
}

ProcessLocale::~ProcessLocale() {
    std::setlocale(LC_ALL, previousC_.constData());
    QLocale::setDefault(previousQt_);
}

}  // namespace testing_support
