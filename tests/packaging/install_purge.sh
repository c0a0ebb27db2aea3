#!/bin/bash
# Installs the Debian package on this machine, runs the installed programs from another folder,
# purges the package and finds none of its files left. Needs root (apt-get); the CI runs as root.
#
#   tests/packaging/install_purge.sh DEB
set -euo pipefail
deb=$(realpath "$1")
package=halyx-jobnotes
harness=$(cd "$(dirname "$0")/../support" && pwd)/private-cupsd.sh
fail() { echo "install_purge: $*" >&2; exit 1; }

if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    fail "$package is already installed here; purge it first"
fi
export DEBIAN_FRONTEND=noninteractive
work=$(mktemp -d)
CUPSD_DIR=
cleanup() {
    [ -n "$CUPSD_DIR" ] && "$harness" stop "$CUPSD_DIR"
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
import json, os, sys
job = json.load(open(sys.argv[1]))
assert job["pieces_file"], "no pieces file"
assert any(p["site"] == 30 and p["data"] == "%%ORBCustom1: Rush\n" for p in job["pieces"]), \
    "the note's comment line is not among the pieces"
os.remove(job["pieces_file"])
PY
halyx-jobnotes check /usr/share/ppd/halyx/HalyxSample.ppd >/dev/null || fail "check of the installed sample"
[ "$(command -v halyx-print)" = /usr/bin/halyx-print ] || fail "halyx-print is not on PATH"
halyx-print --version | grep -qx "halyx-print [0-9][0-9.]*" || fail "halyx-print --version"
[ -f /usr/share/applications/halyx-print.desktop ] || fail "no menu entry for halyx-print"
for page in halyx-jobnotes halyx-print HalyxCupsFilter; do
    man -w "$page" >/dev/null || fail "no manual page for $page"
done
/usr/lib/cups/filter/HalyxCupsFilter --version | grep -qx "HalyxCupsFilter [0-9][0-9.]*" || fail "HalyxCupsFilter --version"

# The installed filter runs in a queue made, as an administrator would, from the installed PPD by
# its model name, on a CUPS server of the test's own: the note reaches what the printer gets.
eval "$("$harness" start --watch $$)" || fail "the private cupsd did not start"
lpinfo -m 2>/dev/null | grep -q "^lsb/usr/halyx/HalyxSample.ppd " || fail "CUPS's driver list lacks lsb/usr/halyx/HalyxSample.ppd"
lpadmin -p Halyx -E -v "file://$CUPSD_DIR/out/Halyx.ps" -m lsb/usr/halyx/HalyxSample.ppd ||
    fail "lpadmin from the installed PPD"
halyx-jobnotes print --queue Halyx --wait --set Notes1=Rush >"$work/queue.out" 2>&1 ||
    fail "print --queue: $(cat "$work/queue.out")"
grep -aqx "%%ORBCustom1: Rush" "$CUPSD_DIR/out/Halyx.ps" ||
    fail "the note is not in the queue's output: $(tail -n 20 "$CUPSD_DIR/log/error_log")"
"$harness" stop "$CUPSD_DIR"
CUPSD_DIR=

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
