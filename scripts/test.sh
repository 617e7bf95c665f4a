#!/usr/bin/env bash
# Builds Slicecast and runs its whole test suite: the normal build, then the
# same suite under AddressSanitizer and UndefinedBehaviorSanitizer, the
# reliability tests under ThreadSanitizer, every fuzz target for a while, the
# effect in real DAWs (Ardour 7 and, as CLAP, Qtractor, headless), the
# editors in real hosts on a virtual X server (Qtractor and jalv), the LV2
# bundle checked by LV2's own tools, the VST 3 bundle by the format's own
# validator (where SLICECAST_VST3_VALIDATOR names it), a real audio editor
# (Audacity 3.2, headless), the web page in a real browser (Chromium,
# headless), the builds for the other platforms tested on their targets, and
# the packages (built, checked, installed and removed again). Each stage
# reports its time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-dependencies.sh --test

jobs=$(nproc)

stage_started=$SECONDS
stage_done() {
    echo "-- stage took $((SECONDS - stage_started)) s"
    stage_started=$SECONDS
}

run_suite() {
    local build_dir=$1
    shift
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$build_dir" -j "$jobs"
    ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
}

echo "== build and test"
run_suite build
stage_done

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite build-asan -DSLICECAST_SANITIZE=address,undefined -DSLICECAST_BUILD_BENCHMARKS=OFF
stage_done

echo "== ThreadSanitizer (reliability tests)"
bash scripts/ci/thread_sanitizer.sh build-tsan "$jobs"
stage_done

echo "== Fuzzing every door: each edition, the render tool's texts and the page's reader (45 s each, two at a time)"
bash scripts/ci/fuzz.sh build-fuzz 45 "$jobs"
stage_done

echo "== Ardour 7: scanner, session and export"
bash scripts/ci/ardour.sh build
stage_done

echo "== LV2: the bundle validated, applied by lv2apply"
bash scripts/ci/lv2.sh build
stage_done

echo "== VST 3: the bundle through the format's validator, normal and extensive"
bash scripts/ci/vst3_validator.sh build
stage_done

echo "== Qtractor 0.9.31: the CLAP edition scanned and played, checked block by block"
bash scripts/ci/qtractor.sh build
stage_done

echo "== CLAP editor in Qtractor 0.9.31: opened from the track list, live picture, a drag the saved session holds"
bash scripts/ci/qtractor_editor.sh build
stage_done

echo "== LV2 editor in jalv.gtk3: embedded, live picture, a drag that reaches the control port"
bash scripts/ci/jalv_editor.sh build
stage_done

echo "== Audacity 3.2: the effect applied offline, without a musical position"
bash scripts/ci/audacity.sh build
stage_done

echo "== Web page: built to WebAssembly, tested in headless Chromium against the render tool"
bash scripts/ci/web.sh build
stage_done

echo "== Cross builds: Windows 64/32-bit under Wine, ARM64 Linux under QEMU, renders compared to the bit"
bash scripts/ci/cross_platforms.sh build
stage_done

echo "== Packages: .deb for amd64 and arm64, Windows zip; lintian; install, render, remove"
bash scripts/ci/packages.sh build
stage_done
