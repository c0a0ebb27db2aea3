#!/bin/sh
# picture_checks.sh TOOL SAMPLE_PPD: the pane's picture from print and show, its bytes the same on
# every run, and the exit status 2 for a path that cannot take it.
tool=$1
sample=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

for run in 1 2; do
    "$tool" print "$sample" --set Notes1=Hello --set QZUserAuthPwd=secret --json \
        --picture "$dir/print$run.png" >"$dir/out$run.json" 2>/dev/null || fail "print exited $?"
    python3 -c 'import json,os,sys; os.remove(json.load(open(sys.argv[1]))["pieces_file"])' \
        "$dir/out$run.json" || fail "no pieces file"
done
cmp -s "$dir/print1.png" "$dir/print2.png" || fail "two runs gave different pictures"
head -c 4 "$dir/print1.png" | grep -q PNG || fail "not a PNG"

"$tool" show "$sample" --picture "$dir/show.png" >/dev/null 2>&1 || fail "show exited $?"
cmp -s "$dir/show.png" "$dir/print1.png" && fail "the opened pane looks like the typed one"

for bad in "$dir/no-such-folder/pane.png" "$dir"; do
    for command in "print $sample" "show $sample"; do
        # shellcheck disable=SC2086
        "$tool" $command --picture "$bad" >/dev/null 2>"$dir/err"
        status=$?
        [ "$status" -eq 2 ] || fail "$command --picture $bad exited $status, expected 2"
        grep -q "cannot write the picture" "$dir/err" || fail "$command --picture $bad: no message"
    done
done
exit 0
