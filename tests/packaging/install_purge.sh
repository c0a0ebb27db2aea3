#!/bin/bash
# Installs the Debian package on this machine, runs the installed programs from another folder,
# purges the package and finds none of its files left. Needs root (apt-get); the CI runs as root.
#
#   tests/packaging/install_purge.sh DEB
set -euo pipefail
deb=$(realpath "$1")
package=halyx-jobnotes
fail() { echo "install_purge: $*" >&2; exit 1; }

if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    fail "$package is already installed here; purge it first"
fi
export DEBIAN_FRONTEND=noninteractive
work=$(mktemp -d)
cleanup() {
    apt-get purge -y -q "$package" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

apt-get install -y -q "$deb" >/dev/null
dpkg-query -L "$package" >"$work/files"

# The installed programs find the installed bundle and sample by themselves: no path argument, no
# environment variable, another folder, and nothing of the build tree on the way.
cd "$work"
unset HALYX_BUNDLE_DIR
[ "$(command -v halyx-jobnotes)" = /usr/bin/halyx-jobnotes ] || fail "halyx-jobnotes is not on PATH"
halyx-jobnotes --version | grep -qx "halyx-jobnotes [0-9][0-9.]*" || fail "--version"
halyx-jobnotes print --json --set Notes1=Rush >"$work/print.json" 2>"$work/print.err" ||
    fail "installed print failed: $(cat "$work/print.err")"
python3 - "$work/print.json" <<'PY' || fail "installed print wrote no pieces"
import json, sys
job = json.load(open(sys.argv[1]))
assert job["pieces_file"], "no pieces file"
assert any(p["site"] == 30 and p["data"] == "%%ORBCustom1: Rush\n" for p in job["pieces"]), \
    "the note's comment line is not among the pieces"
PY
halyx-jobnotes check /usr/share/ppd/halyx/HalyxSample.ppd >/dev/null || fail "check of the installed sample"
man -w halyx-jobnotes >/dev/null || fail "no manual page for halyx-jobnotes"

apt-get purge -y -q "$package" >/dev/null
left=0
while read -r path; do
    if [ -e "$path" ] && [ ! -d "$path" ]; then
        echo "left after purge: $path" >&2
        left=1
    fi
done <"$work/files"
for folder in /usr/lib/halyx-jobnotes /usr/share/ppd/halyx /usr/share/doc/$package; do
    [ -e "$folder" ] && { echo "left after purge: $folder" >&2; left=1; }
done
[ "$left" -eq 0 ] || fail "files were left after purge"
echo "install_purge: installed, ran from $work, purged, nothing left"
