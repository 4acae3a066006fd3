#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <vector>

// The median of `repetitions` runs of `work`, in milliseconds.
inline double medianMs(const std::function<void()>& work, int repetitions) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
