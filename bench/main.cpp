// Runs the benchmarks with the usual console report and the summary of
// ratios to the copy baseline. Google Benchmark's flags apply as usual
// (--benchmark_filter, --benchmark_out, ...).
#include <benchmark/benchmark.h>

#include "ratio_reporter.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
