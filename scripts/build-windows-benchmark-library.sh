#!/usr/bin/env bash
# Builds Google Benchmark for a Windows preset, so that its benchmarks can be
# built and run under Wine. Debian ships the library for Linux only, so
# this fetches Debian's source package (with a source list of its own,
# leaving the system's apt configuration alone) and builds it with the
# preset's toolchain, into build/<preset>/google-benchmark.
#
#   scripts/build-windows-benchmark-library.sh windows-x64
#   cmake --preset windows-x64 -Dbenchmark_DIR=$PWD/build/windows-x64/google-benchmark/lib/cmake/benchmark
#   cmake --build --preset windows-x64 --target slicecast_benchmarks
#   WINEPREFIX=$PWD/build/windows-x64/wine-prefix WINEDEBUG=-all wine build/windows-x64/bench/slicecast_benchmarks.exe
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:?usage: build-windows-benchmark-library.sh windows-x64|windows-x86}
case $preset in
    windows-x64) toolchain=cmake/toolchains/mingw-w64-x86_64.cmake ;;
    windows-x86) toolchain=cmake/toolchains/mingw-w64-i686.cmake ;;
    *) echo "not a Windows preset: $preset" >&2; exit 2 ;;
esac

work=build/$preset/google-benchmark-source
install=$PWD/build/$preset/google-benchmark
mkdir -p "$work/lists/partial"
echo "deb-src http://deb.debian.org/debian bookworm main" > "$work/sources.list"
apt_options=(-q -o "Dir::Etc::SourceList=$PWD/$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$PWD/$work/lists")
apt-get "${apt_options[@]}" update
(cd "$work" && apt-get "${apt_options[@]}" source --download-only benchmark)
tar -xzf "$work"/benchmark_*.orig.tar.gz -C "$work"
source_dir=$(find "$work" -maxdepth 1 -type d -name 'benchmark-*' | head -n 1)

cmake -S "$source_dir" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF \
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$install"
cmake --build "$work/build" -j2
cmake --install "$work/build"
echo "Google Benchmark for $preset: -Dbenchmark_DIR=$install/lib/cmake/benchmark"
