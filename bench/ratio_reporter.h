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
            if (run.error_occurred) failed_ = true;
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            Total& total = totals_[run.run_name.function_name];
            total.seconds += run.real_accumulated_time;
            total.iterations += double(run.iterations);
            for (const auto& [name, counter] : run.counters) total.counters[name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // A benchmark stopped with an error: the run has failed, whatever its ratio.
    bool anyFailed() const { return failed_; }
    // Seconds per iteration; 0 when the benchmark did not run.
    double perIteration(const std::string& name) const {
        const auto found = totals_.find(name);
        return found == totals_.end() ? 0 : found->second.seconds / found->second.iterations;
    }
    // A counter of the benchmark's last run; -1 when the benchmark did not run or has no such counter.
    double counter(const std::string& benchmark, const std::string& name) const {
        const auto found = totals_.find(benchmark);
        if (found == totals_.end()) return -1;
        const auto value = found->second.counters.find(name);
        return value == found->second.counters.end() ? -1 : value->second;
    }

private:
    struct Total {
        double seconds = 0;
        double iterations = 0;
        std::map<std::string, double> counters;
    };
    std::map<std::string, Total> totals_;
    bool failed_ = false;
};
