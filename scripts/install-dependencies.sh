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
    # The render tool draws its pictures with cairo.
    libcairo2-dev
)

# The render tool's ARM build links the arm64 cairo where that architecture
# is set up for cross building.
if dpkg --print-foreign-architectures | grep -qx arm64; then
    packages+=(libcairo2-dev:arm64)
fi

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
    )
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
