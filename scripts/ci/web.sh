#!/usr/bin/env bash
# Web stage: the page built with the wasm preset (build/wasm, the site in
# build/web) and tested in Debian's Chromium, headless, driven by
# puppeteer-core from npm (tests/web, its versions pinned by the committed
# package-lock.json): the page loads cleanly and draws its picture, its
# Download equals `slicecast render` through the native build's LV2
# edition with 128-frame blocks, bit for bit, a parameter changed while
# playing takes effect at the next quantum, a preset chosen from the list
# downloads as `slicecast render --preset`, and an undecodable file gives a
# message. The screenshot is kept in build/web-test/screenshot.png.
#   usage: web.sh NATIVE_BUILD_DIR
set -euo pipefail
native=$(cd "$1" && pwd)
cd "$(dirname "$0")/../.."

cmake --preset wasm >/dev/null
cmake --build --preset wasm

out=$PWD/build/web-test
mkdir -p "$out"
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
(cd tests/web &&
    SLICECAST_SITE="$OLDPWD/build/web" SLICECAST_WEB_TEST_OUT="$out" \
        SLICECAST_TOOL="$native/tools/slicecast" SLICECAST_LV2="$native/lv2/slicecast.lv2" \
        SLICECAST_CLAP="$native/editions/clap/slicecast.clap" \
        node --test ./*.test.mjs)
echo "-- screenshot: $out/screenshot.png"
