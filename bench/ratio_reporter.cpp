#include "ratio_reporter.h"

#include <cstdio>
#include <ostream>

namespace bench {

namespace {

bool isCopyBaseline(const std::string& name) { return name.rfind("Copy/", 0) == 0; }

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // With --benchmark_repetitions the summary uses each benchmark's
        // median; without, its one run.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (run.error_occurred || !(median || single) || run.counters.count("block") == 0) continue;
        Row row{run.run_name.str(), run.counters.at("block").value, run.counters.at("time/frame").value * 1e9,
                run.counters.at("x realtime").value, {}};
        for (const char* spike : {"worst block ns", "typical block ns", "worst/typical"}) {
            if (run.counters.count(spike) != 0) row.spike[spike] = run.counters.at(spike).value;
        }
        if (isCopyBaseline(row.name)) copyNanosecondsPerFrame_[row.block] = row.nanosecondsPerFrame;
        rows_.push_back(row);
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    char line[256];
    out << "\nTime per stereo frame against the copy baseline at the same block size\n";
    std::snprintf(line, sizeof line, "%-64s %6s %9s %7s %11s\n", "benchmark", "block", "ns/frame", "x copy",
                  "x realtime");
    out << line;
    for (const Row& row : rows_) {
        const auto copy = copyNanosecondsPerFrame_.find(row.block);
        char ratio[16] = "-";
        if (copy != copyNanosecondsPerFrame_.end()) {
            std::snprintf(ratio, sizeof ratio, "%.2f", row.nanosecondsPerFrame / copy->second);
        }
        std::snprintf(line, sizeof line, "%-64s %6.0f %9.3f %7s %11.0f\n", row.name.c_str(), row.block,
                      row.nanosecondsPerFrame, ratio, row.realtimeMultiple);
        out << line;
    }
    for (const Row& row : rows_) {
        if (row.spike.empty()) continue;
        std::snprintf(line, sizeof line, "%s: worst block %.0f ns, typical block %.0f ns, worst/typical %.2f\n",
                      row.name.c_str(), row.spike.at("worst block ns"), row.spike.at("typical block ns"),
                      row.spike.at("worst/typical"));
        out << line;
    }
}

}  // namespace bench
