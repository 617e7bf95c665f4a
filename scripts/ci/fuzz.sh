#!/usr/bin/env bash
# Fuzz stage: builds the host-call fuzzer with clang and runs it for a
# bounded time from the committed corpus. New inputs go to a scratch
# directory; a crash leaves its input in the build directory and fails.
#   usage: fuzz.sh BUILD_DIR [SECONDS] [JOBS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=$1
seconds=${2:-60}
jobs=${3:-$(nproc)}

CXX=clang++ cmake -S fuzz -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j "$jobs" --target slicecast_fuzzer

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$build_dir/slicecast_fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=20 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build_dir/" "$scratch" fuzz/corpus
