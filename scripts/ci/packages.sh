#!/usr/bin/env bash
# Packages stage: the Debian packages for amd64 and arm64 and the Windows
# zip. The amd64 package comes from the native build folder given (the
# test run's own, built and tested before), the others from the preset
# build folders build/linux-arm64, build/windows-x64 and build/windows-x86
# (built and tested by the cross stage; built here if not). lintian must
# find no errors in the .debs; the packaging tests check what every package
# holds. Then the amd64 package is installed with dpkg, the installed
# /usr/bin/slicecast renders the demo (the same samples as the build tree's
# tool), and the package is removed again, leaving the machine as it was.
#
#   scripts/ci/packages.sh NATIVE_BUILD_DIR [OUT_DIR]    (OUT_DIR: out/packages)
#
# NATIVE_BUILD_DIR may be the linux-x64 preset's, build/linux-x64.
set -euo pipefail
cd "$(dirname "$0")/../.."
native_build=${1:?usage: packages.sh NATIVE_BUILD_DIR [OUT_DIR]}
out=${2:-out/packages}

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

if dpkg-query -W slicecast >/dev/null 2>&1; then
    echo "packages: dpkg knows a slicecast package on this machine already; this stage would replace it" >&2
    exit 1
fi

cmake --build "$native_build" -j "$(nproc)"
for preset in linux-arm64 windows-x64 windows-x86; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

rm -rf "$out"
mkdir -p "$out"
# Either Windows build makes the zip of both.
for build in "$native_build" build/linux-arm64 build/windows-x64; do
    cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
done
rm -rf "$out/_CPack_Packages"

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$native_build/CPackConfig.cmake")
amd64_deb=$out/slicecast-$version-linux-amd64.deb
arm64_deb=$out/slicecast-$version-linux-arm64.deb
windows_zip=$out/slicecast-$version-windows.zip
ls -l "$amd64_deb" "$arm64_deb" "$windows_zip"

echo "-- lintian"
lintian --fail-on error "$amd64_deb" "$arm64_deb"

echo "-- package contents"
package_tests=$native_build/tests/packaging/slicecast_packaging_tests
for deb in "$amd64_deb" "$arm64_deb"; do
    SLICECAST_DEB=$deb "$package_tests" --gtest_filter='DebianPackage.*' --gtest_brief=1
done
SLICECAST_WINDOWS_ZIP=$windows_zip "$package_tests" --gtest_filter='WindowsZip.*' --gtest_brief=1

echo "-- installing $amd64_deb"
# Purged, not only removed: with a maintainer script, a removed package
# stays known to dpkg ("config-files") until purged.
remove_package() {
    "${sudo_cmd[@]}" dpkg --purge slicecast >/dev/null
}
trap remove_package EXIT
"${sudo_cmd[@]}" dpkg -i "$amd64_deb" >/dev/null
/usr/bin/slicecast info | grep -qx 'Plug-in: */usr/lib/vst/slicecast\.so' ||
    { echo "packages: the installed tool does not load /usr/lib/vst/slicecast.so" >&2; exit 1; }
SLICECAST_INSTALLED_TOOL=/usr/bin/slicecast "$package_tests" \
    --gtest_filter='Install.InstalledToolRendersAsTheBuiltOne' --gtest_brief=1
echo "-- removing the package"
trap - EXIT
remove_package
if dpkg-query -W slicecast >/dev/null 2>&1; then
    echo "packages: dpkg still knows slicecast after removing it" >&2
    exit 1
fi
