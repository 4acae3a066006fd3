#pragma once

#include "data/connection.h"
#include "tests/support/test_database.h"

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

// A benchmark runs on a department at full scale, or, with --smoke on its command line, on a
// tiny one with every measured path run once and its result still checked. The tests run every
// benchmark so, to see that each still builds its data, runs and computes what it compares.
namespace bench {

inline bool& smokeFlag() {
    static bool smoke = false;
    return smoke;
}

// Takes --smoke out of the arguments (the benchmark library refuses arguments it does not know).
inline void readSmokeSwitch(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) smokeFlag() = true;
        else argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
}

inline bool smoke() { return smokeFlag(); }

// The full-scale figure, or the tiny one in a smoke run.
inline int scaled(int full, int tiny) { return smoke() ? tiny : full; }

// Runs the SQL script bench/NAME, its psql-style variables (:workers) replaced by the values
// given; a script that cannot be read stops the benchmark.
inline void runScript(data::Connection& connection, const char* name, const std::map<QString, int>& variables = {}) {
    QFile script(QStringLiteral(TABEL_BENCH_DIR "/") + QLatin1String(name));
    if (!script.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", name);
        std::exit(1);
    }
    QString sql = QString::fromUtf8(script.readAll());
    for (const auto& [variable, value] : variables)
        sql.replace(QRegularExpression(QStringLiteral("(?<![:\\w]):") + variable + QStringLiteral("\\b")),
                    QString::number(value));
    testing_support::exec(connection, sql);
}

}  // namespace bench
