#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

// Shows the runs as the console reporter does and keeps each benchmark's time per iteration, for
// the ratio line a benchmark prints last.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Coloured only on a terminal, so a piped or logged run ends with the plain ratio line.
    RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            Total& total = totals_[run.run_name.function_name];
            total.seconds += run.real_accumulated_time;
            total.iterations += double(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Seconds per iteration; 0 when the benchmark did not run.
    double perIteration(const std::string& name) const {
        const auto found = totals_.find(name);
        return found == totals_.end() ? 0 : found->second.seconds / found->second.iterations;
    }

private:
    struct Total {
        double seconds = 0;
        double iterations = 0;
    };
    std::map<std::string, Total> totals_;
};
