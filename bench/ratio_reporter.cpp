#include "ratio_reporter.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <set>

namespace bench {

namespace {

constexpr const char* kCopyCase = "Copy";
constexpr const char* kBlockCost = "ns/block";

// "vst2/defaults/512" -> "vst2/defaults"; names without a block stay whole.
std::string caseOf(const std::string& name) {
    const auto slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(0, slash);
}

std::string formatted(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

void reportBlockCost(benchmark::State& state) {
    using benchmark::Counter;
    state.counters[kBlockCost] = Counter(1.0, Counter::kIsIterationInvariantRate | Counter::kInvert);
}

void reportBlockCost(benchmark::State& state, double secondsPerBlock) {
    state.counters[kBlockCost] = benchmark::Counter(secondsPerBlock);
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // With --benchmark_repetitions the summary uses each benchmark's
        // median; without, its one run.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (run.error_occurred || !(median || single)) continue;
        const auto& counters = run.counters;
        const std::string name = run.run_name.str();
        if (counters.count("worst block ns") != 0) {
            spikes_.push_back({name, counters.at("worst block ns").value, counters.at("typical block ns").value});
        }
        if (counters.count(kBlockCost) != 0) blockCosts_.emplace_back(name, counters.at(kBlockCost).value * 1e9);
        if (counters.count("block") != 0 && counters.count("worst block ns") == 0) {
            frameRows_.push_back({caseOf(name), counters.at("block").value, counters.at("time/frame").value * 1e9});
        }
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::ostream& out = GetOutputStream();
    printRatios(out);
    printSummaryCosts(out);
    printBlockCosts(out);
    printSpikes(out);
}

void RatioReporter::printSummaryCosts(std::ostream& out) const {
    // summary/<case> is sound/<case> with an editor open.
    std::map<std::pair<std::string, double>, double> perFrame;
    for (const FrameRow& row : frameRows_) perFrame[{row.caseName, row.block}] = row.nanosecondsPerFrame;
    bool heading = false;
    for (const auto& [key, summed] : perFrame) {
        const std::string& name = key.first;
        if (name.rfind("summary/", 0) != 0) continue;
        const auto plain = perFrame.find({"sound/" + name.substr(8), key.second});
        if (plain == perFrame.end()) continue;
        if (!heading) out << "\nWhat an open editor's summary adds to the sound, ns per frame:\n";
        heading = true;
        out << "  " << name << "/" << key.second << ": " << summed - plain->second << "\n";
    }
}

void RatioReporter::printRatios(std::ostream& out) const {
    std::map<double, double> copy;
    std::set<double> blocks;
    std::vector<std::string> cases;
    std::map<std::pair<std::string, double>, double> perFrame;
    for (const FrameRow& row : frameRows_) {
        if (row.caseName == kCopyCase) copy[row.block] = row.nanosecondsPerFrame;
        if (std::find(cases.begin(), cases.end(), row.caseName) == cases.end()) cases.push_back(row.caseName);
        blocks.insert(row.block);
        perFrame[{row.caseName, row.block}] = row.nanosecondsPerFrame;
    }
    if (cases.empty()) return;

    char cell[64];
    out << "\nTime per stereo frame as a multiple of the copy at the same block size"
           " (the copy in ns/frame); fixed cost per block and cost per frame from the"
           " 64- and 512-frame figures\n";
    std::snprintf(cell, sizeof cell, "%-40s", "case");
    out << cell;
    for (const double block : blocks) out << formatted("%9.0f", block);
    out << "   fixed ns   ns/frame\n";
    for (const std::string& name : cases) {
        std::snprintf(cell, sizeof cell, "%-40s", name.c_str());
        out << cell;
        for (const double block : blocks) {
            const auto time = perFrame.find({name, block});
            const auto base = copy.find(block);
            if (time == perFrame.end() || base == copy.end()) {
                out << "        -";
            } else if (name == kCopyCase) {
                out << formatted("%9.3f", time->second);
            } else {
                out << formatted("%8.2fx", time->second / base->second);
            }
        }
        const auto small = perFrame.find({name, 64.0});
        const auto large = perFrame.find({name, 512.0});
        if (small != perFrame.end() && large != perFrame.end()) {
            // t(n) = fixed + n x perFrame, through the two block sizes.
            const double perBlock64 = small->second * 64.0;
            const double perBlock512 = large->second * 512.0;
            const double slope = (perBlock512 - perBlock64) / (512.0 - 64.0);
            out << formatted("%11.1f", perBlock64 - 64.0 * slope) << formatted("%11.3f", slope);
        }
        out << "\n";
    }
}

void RatioReporter::printBlockCosts(std::ostream& out) const {
    if (blockCosts_.empty()) return;
    out << "\nEach edition's own cost per block, without the sound (entry, time query, parameters)\n";
    for (const auto& [name, nanoseconds] : blockCosts_) {
        char line[128];
        std::snprintf(line, sizeof line, "%-40s %8.1f ns/block\n", name.c_str(), nanoseconds);
        out << line;
    }
}

void RatioReporter::printSpikes(std::ostream& out) const {
    if (spikes_.empty()) return;
    out << "\nWorst block of a long run against the typical block (each block's fastest time over all periods)\n";
    for (const SpikeRow& row : spikes_) {
        char line[192];
        std::snprintf(line, sizeof line, "%-56s worst %8.0f ns, typical %8.0f ns, worst/typical %.2f\n",
                      row.name.c_str(), row.worst, row.typical, row.worst / row.typical);
        out << line;
    }
}

}  // namespace bench
