// What a host pays to open an instance and close it again: the entry point
// (one zero-filled allocation holding both capture buffers) and effClose.
#include "bench_session.h"

namespace {

void openAndClose(benchmark::State& state) {
    vst2host::Host host;
    for (auto _ : state) {
        vst2host::PluginInstance instance(host, bench::slicecastEntry());
        benchmark::DoNotOptimize(instance.effect());
    }
}

}  // namespace

BENCHMARK(openAndClose)->Name("OpenAndClose")->Unit(benchmark::kMicrosecond);
