#pragma once

#include "tests/support/test_database.h"

#include <QString>
#include <cstdio>
#include <libpq-fe.h>

// The floor of the benchmarks: a session of bare libpq on the throwaway database, with the
// program's date style, its notices ignored. A session that could not connect is reported on
// stderr here; check PQstatus before use; PQfinish it.
inline PGconn* connectBareLibpq() {
    const data::ConnectionSettings s = testing_support::testSettings();
    const QByteArray conninfo = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4 password=%5 sslmode=%6 "
                                               "options='-c DateStyle=ISO,DMY'")
                                    .arg(s.server).arg(s.port).arg(s.database, s.user, s.password, s.sslMode)
                                    .toUtf8();
    PGconn* conn = PQconnectdb(conninfo.constData());
    if (PQstatus(conn) != CONNECTION_OK) std::fprintf(stderr, "bare libpq: %s", PQerrorMessage(conn));
    PQsetNoticeProcessor(conn, [](void*, const char*) {}, nullptr);
    return conn;
}
