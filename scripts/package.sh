#!/bin/bash
# Builds the Debian package: a Release build in build-pkg/ with Debian's hardening flags, then
# `cpack -G DEB`, then lintian (errors fail the build; warnings and notes are printed).
#
#   scripts/package.sh [BUILD_DIR]     the .deb is written into BUILD_DIR (default build-pkg)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
halyx_install_deps
dir=${1:-build-pkg}

# The flags Debian builds its own packages with (fortify, stack protector, relro, bind-now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS=$(dpkg-buildflags --get CFLAGS)
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CFLAGS CXXFLAGS LDFLAGS

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALYX_BUILD_TESTS=OFF \
    -DCMAKE_C_FLAGS="$CFLAGS" -DCMAKE_CXX_FLAGS="$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
    -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" -DCMAKE_MODULE_LINKER_FLAGS="$LDFLAGS" \
    -DHALYX_WERROR=ON >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/halyx-jobnotes_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/halyx-jobnotes_*.deb)
echo "package: $deb"
# lintian exits non-zero on errors only (--fail-on error).
lintian --fail-on error --info --display-level ">=warning" "$deb"
echo "lintian: no errors"
