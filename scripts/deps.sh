#!/bin/bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by the other scripts; safe to run again (does nothing when all are present).
HALYX_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libexpat1-dev libxml2-utils python3
    nlohmann-json3-dev  # the JSON output of halyx-jobnotes show
    libcairo2-dev  # pictures of the pane (--picture): painting and PNG files
    libpango1.0-dev  # pictures of the pane: laying out their text
    fonts-dejavu-core  # pictures of the pane: the fonts their text is drawn in
    nettle-dev  # the crypto tests compare with it; the product links no crypto library
    clang  # the fuzzing builds (libFuzzer ships with it)
    valgrind  # the print host's whole-run leak check
    ccache
    dpkg-dev lintian  # the Debian package: dpkg-shlibdeps, dpkg-buildflags, its checks
    cups-client  # lp, lpadmin, lpstat for the end-to-end tests of the filter
    cups-core-drivers  # pstops, which runs before the filter
    cups-daemon  # the private cupsd of the end-to-end tests
    cups-filters  # the PDF-to-PostScript filters before the filter
    cups-ipp-utils  # ipptool, which reads a job's state in the end-to-end tests
    ghostscript  # the PostScript renderer that the PDF filters run
    libcups2-dev  # the filter's option parser, print --queue's client calls
    poppler-utils  # pdftops, the other PDF renderer of the PDF filters
    libgtk-3-dev  # halyx-print, the GTK 3 print dialog (gtk+-unix-print-3.0)
    xvfb xauth  # the X server of halyx-print's tests (xvfb-run)
    xdotool  # types the keys of halyx-print's tests
    imagemagick  # the screenshots of halyx-print's tests
    python3-pyatspi at-spi2-core dbus  # halyx-print's tests read and write fields as assistive technologies do
)

halyx_install_deps() {
    local missing=()
    local p
    for p in "${HALYX_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q && $sudo apt-get install -y -q "${missing[@]}"
}
