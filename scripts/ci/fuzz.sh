#!/usr/bin/env bash
# Fuzz stage: builds every fuzz target with clang (fuzz/, one per door) and
# runs each for a bounded time from its committed corpus in fuzz/corpus/,
# two at a time, then the web page's reader properties (fast-check) for the
# same time. New inputs go to a scratch directory. A crash, leak, timeout or
# failed check fails the stage; what made it fail stays in
# BUILD_DIR/artifacts/TARGET/, whose path is printed.
#   usage: fuzz.sh BUILD_DIR [SECONDS_PER_TARGET] [JOBS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=$(mkdir -p "$1" && cd "$1" && pwd)
seconds=${2:-45}
jobs=${3:-$(nproc)}
targets=(host_call_fuzzer clap_process_fuzzer vst3_process_fuzzer state_fuzzer lv2_run_fuzzer tool_text_fuzzer)

CXX=clang++ CC=clang cmake -S fuzz -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j "$jobs" --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
artifacts=$build_dir/artifacts
rm -rf "$artifacts"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# One target: its log beside its artefacts, kept only when it fails.
run_target() {
    local target=${1%_fuzzer}
    mkdir -p "$scratch/$target" "$artifacts/$target"
    if "$build_dir/$1" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target/" "$scratch/$target" "fuzz/corpus/$target" \
        >"$artifacts/$target/log.txt" 2>&1; then
        tail -n 12 "$artifacts/$target/log.txt" | grep -E '^(stat::number_of_executed_units|Done)' || true
        rm -rf "${artifacts:?}/$target"
        echo "-- $target: no fault in $seconds s"
    else
        echo "-- $target FAILED; its input and log: $artifacts/$target/"
        grep -E 'ERROR|fuzz check failed|runtime error|SUMMARY' "$artifacts/$target/log.txt" | head -n 5
        return 1
    fi
}

failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    pids=()
    for target in "${targets[@]:i:2}"; do
        run_target "$target" &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
done

# The web page's WAV and AIFF reader, its three properties sharing the
# time of one target: a failing case's seed and path are in the log, and
# fc.assert replays them.
(cd tests/web && { [ -d node_modules/fast-check ] || npm ci --no-audit --no-fund --loglevel=error; })
mkdir -p "$artifacts/web_reader"
if (cd tests/web && SLICECAST_FUZZ_SECONDS=$((seconds / 3 + 1)) node --test sound_file_fuzz.test.mjs) \
    >"$artifacts/web_reader/log.txt" 2>&1; then
    rm -rf "$artifacts/web_reader"
    echo "-- web_reader: no fault in $seconds s"
else
    echo "-- web_reader FAILED; its log with the case's seed and path: $artifacts/web_reader/log.txt"
    failed=1
fi
exit "$failed"
