#pragma once

#include <QDateTime>

// When the running program was built: the date as the number YYYYMMDD and the time of day in
// seconds since midnight. Stamps order by date, then time.
struct BuildStamp {
    int date = 0;
    int time = 0;

    static BuildStamp of(const QDateTime& built) {
        const QDate d = built.date();
        const QTime t = built.time();
        return {d.year() * 10000 + d.month() * 100 + d.day(),
                t.hour() * 3600 + t.minute() * 60 + t.second()};
    }

    friend auto operator<=>(const BuildStamp&, const BuildStamp&) = default;
};

// The stamp of this build, generated when it was built.
BuildStamp compiledBuildStamp();
