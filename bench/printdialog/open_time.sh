#!/bin/bash
# open_time.sh PRINT [RUNS]: how long halyx-print takes to open the print dialog with the
# "Halyx Job Notes" tab, measured RUNS times (default 10) on a private cupsd with one Halyx queue,
# under the Xvfb this is run in:
#
#   xvfb-run -a -s "-screen 0 1280x1024x24" bench/printdialog/open_time.sh build/bin/halyx-print
#
# Each run starts the program with --printer and --verbose and takes the time until it says the
# pane is open, which is when the tab has been added (polled every 5 ms), and the part of it the
# program itself spent on the pane (the queue's PPD fetched, the pane made, its widgets mirrored);
# then it closes the dialog with Escape. Prints each run and the medians.
set -u
program=$1 runs=${2:-10}
root=$(cd "$(dirname "$0")/../.." && pwd)
harness=$root/tests/support/private-cupsd.sh
work=$(mktemp -d)
trap '"$harness" stop "$CUPSD_DIR"; rm -rf "$work"' EXIT
eval "$("$harness" start --watch $$)" || exit 1
lpadmin -p Notes -E -v "file://$CUPSD_DIR/out/Notes.ps" -P "$root/examples/HalyxSample.ppd" \
    2>/dev/null || exit 1
ms() { echo $((($(date +%s%N) - $1) / 1000000)); }
panes=() tabs=()
for run in $(seq 1 "$runs"); do
    rm -f "$work/err"
    start=$(date +%s%N)
    NO_AT_BRIDGE=1 "$program" --verbose --printer Notes 2>"$work/err" &
    pid=$!
    until grep -qs "the pane is open" "$work/err"; do sleep 0.005; done
    tab=$(ms "$start")
    pane=$(sed -n 's/.*the pane is open for Notes (in \([0-9]*\) ms).*/\1/p' "$work/err")
    echo "run $run: tab shown $tab ms after start, $pane ms of it for the pane"
    tabs+=("$tab") panes+=("$pane")
    window=$(xdotool search --sync --name '^Print$' | head -n 1)
    xdotool windowfocus --sync "$window" key Escape
    wait "$pid"
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }
echo "median of $runs: tab shown $(median "${tabs[@]}") ms after start, $(median "${panes[@]}") ms for the pane"
