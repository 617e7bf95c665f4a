#!/usr/bin/env bash
# ThreadSanitizer stage: the reliability tests, above all the one where a
# control thread changes parameters while the audio thread processes,
# built with -fsanitize=thread. Any reported race fails the stage.
#   usage: thread_sanitizer.sh BUILD_DIR [JOBS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=$1
jobs=${2:-$(nproc)}

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSLICECAST_SANITIZE=thread \
    -DSLICECAST_BUILD_BENCHMARKS=OFF >/dev/null
mapfile -t targets < <(sed -n 's/^slicecast_add_reliability_test(\([a-z_]*\) .*/\1/p' tests/reliability/CMakeLists.txt)
cmake --build "$build_dir" -j "$jobs" --target "${targets[@]}"

export TSAN_OPTIONS="halt_on_error=1 abort_on_error=1 second_deadlock_stack=1"
for target in "${targets[@]}"; do
    echo "-- $target"
    "$build_dir/tests/reliability/$target" --gtest_brief=1
done
