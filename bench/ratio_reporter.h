// The usual console report, followed by the summary the project quotes:
//
// - every processing benchmark's time per stereo frame as a multiple of the
//   copy baseline ("Copy/<block>") at the same block size, measured in the
//   same run, one row per case and one column per block size, with the
//   fixed cost per block and the cost per frame that the 64- and 512-frame
//   figures imply;
// - what an open editor's summary adds to the sound per frame
//   ("summary/<case>" against "sound/<case>");
// - each edition's own cost per block (its time query or event walk and its
//   parameter mapping, without the sound);
// - the worst block of a long run against the typical one.
//
// A benchmark joins the summary through its counters: reportFrames
// (bench_session.h) for processing, named "<case>/<block>"; reportBlockCost
// for an edition's own cost; the spike counters for the worst block. Any
// benchmark file linked into slicecast_benchmarks can use them (an edition's
// benchmarks need nothing else). Run with --benchmark_repetitions=N for
// medians of N runs.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

// Marks a benchmark whose iterations are one block each of an edition's own
// work around the sound; the summary lists it in nanoseconds per block.
void reportBlockCost(benchmark::State& state);
// The same line of the summary for an edition whose format allows no block
// of no frames: the benchmark times its own cost per block itself (seconds).
void reportBlockCost(benchmark::State& state, double secondsPerBlock);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    struct FrameRow {
        std::string caseName;
        double block;
        double nanosecondsPerFrame;
    };
    struct SpikeRow {
        std::string name;
        double worst;
        double typical;
    };
    void printRatios(std::ostream& out) const;
    void printSummaryCosts(std::ostream& out) const;
    void printBlockCosts(std::ostream& out) const;
    void printSpikes(std::ostream& out) const;

    std::vector<FrameRow> frameRows_;
    std::vector<std::pair<std::string, double>> blockCosts_;
    std::vector<SpikeRow> spikes_;
};

}  // namespace bench
