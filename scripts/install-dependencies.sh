#!/usr/bin/env bash
# Installs what Slicecast needs on a fresh Debian 12 machine: by default what
# building it (plug-in, render tool, tests, benchmarks) needs; with --test
# also what the full test run needs. Run as root, or it uses sudo. Does
# nothing that is already done.
set -euo pipefail

packages=(
    build-essential
    cmake
    googletest
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    pkgconf
    libsndfile1-dev
    libcli11-dev
    # The render tool writes its pictures with cairo (SVG, and PNG files of
    # the raster's pixels).
    libcairo2-dev
    # The raster's text: stb_truetype (a header compiled with the project)
    # and DejaVu Sans, built into the binaries as bytes; the cross builds
    # and the web page's module take both from here, so no target needs them.
    libstb-dev
    fonts-dejavu-core
    # The LV2 edition's headers, and lilv to host LV2 plug-ins.
    lv2-dev
    liblilv-dev
    # The editors' windows on Linux (Xlib), and the host side's hand that
    # works them (the XTest extension).
    libx11-dev
    libxtst-dev
)

foreign_architectures=()
if [[ ${1:-} == --test ]]; then
    packages+=(
        # A third-party VST 2.4 effect that the render tool's tests load.
        dragonfly-reverb-vst
        # Reliability stages: memcheck, the clang fuzzer with its runtime, and a
        # real DAW with its Lua session tool (the session file is edited in Python).
        valgrind
        clang
        libclang-rt-14-dev
        ardour
        python3
        # An offline editor that applies the effect without a musical
        # position, run on a virtual X server (xvfb-run needs xauth).
        audacity
        xvfb
        xauth
        # The CLAP edition in a real host: Qtractor on a dummy JACK server
        # (jackd2; libjack for the transport, driven from Python).
        qtractor
        jackd2
        # The editors in real hosts on a virtual X server: jalv for the LV2
        # edition's editor, xdotool as the user's hand, xwininfo and
        # xdpyinfo (x11-utils) to find the windows, Python's PIL for the
        # screenshots and their pixels.
        jalv
        xdotool
        x11-utils
        python3-pil
        # Cross builds, tested on their targets: Windows through mingw-w64
        # (-posix: std::mutex) and Wine in both widths, 64-bit ARM Linux
        # through Debian's cross compiler, its multiarch libraries and QEMU.
        g++-mingw-w64-x86-64-posix
        g++-mingw-w64-i686-posix
        wine
        wine64
        wine32:i386
        g++-aarch64-linux-gnu
        qemu-user
        pkgconf:arm64
        libgtest-dev:arm64
        libgmock-dev:arm64
        libbenchmark-dev:arm64
        libsndfile1-dev:arm64
        libcairo2-dev:arm64
        liblilv-dev:arm64
        libx11-dev:arm64
        libxtst-dev:arm64
        # The LV2 stage: lv2_validate (it needs sordi), serdi, lv2apply.
        sordi
        serdi
        lilv-utils
        # Packages stage: dpkg-shlibdeps and file for cpack's .deb, lintian.
        dpkg-dev
        file
        lintian
        # The web page: the wasm preset's WebAssembly toolchain (clang and
        # lld with WASI's C library, libc++ and compiler-rt builtins), and
        # the browser its tests drive.
        lld
        wasi-libc
        libc++-dev-wasm32
        libclang-rt-dev-wasm32
        chromium
    )
    # The page's tests run on Node.js with puppeteer-core from npm; Debian's
    # own Node.js and npm where the machine has none.
    if ! command -v node >/dev/null; then
        packages+=(nodejs npm)
    elif ! command -v npm >/dev/null; then
        packages+=(npm)
    fi
    foreign_architectures=(i386 arm64)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    for architecture in "${foreign_architectures[@]}"; do
        dpkg --print-foreign-architectures | grep -qx "$architecture" ||
            "${sudo_cmd[@]}" dpkg --add-architecture "$architecture"
    done
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
