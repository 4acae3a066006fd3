#pragma once

#include <QByteArray>
#include <QLocale>

namespace testing_support {

// The locales every export is tried under: the C library's own, and the department's, whose
// decimal separator is a comma.
inline const char* const exportLocales[] = {"C", "ru_RU.UTF-8"};

// While it lives, the process runs under the named locale as the program runs under the user's:
// the C library's locale of every category (the program's QApplication sets it from the
// environment) and Qt's default locale, whose decimal separator the windows show. A locale the
// machine does not have fails the test.
class ProcessLocale {
public:
    explicit ProcessLocale(const char* name);
    ~ProcessLocale();
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;

private:
    QByteArray previousC_;
    QLocale previousQt_;
};

}  // namespace testing_support
