// The usual console report, followed by a summary that reads the time per
// frame of every processing benchmark as a multiple of the copy baseline
// ("Copy") at the same block size, measured in the same run. Run with
// --benchmark_repetitions=N for medians of N runs.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    struct Row {
        std::string name;
        double block;
        double nanosecondsPerFrame;
        double realtimeMultiple;
        std::map<std::string, double> spike;  // worst and typical block, where measured
    };
    std::vector<Row> rows_;
    std::map<double, double> copyNanosecondsPerFrame_;
};

}  // namespace bench
