#!/bin/sh
# print_checks.sh TOOL CASE SAMPLE_PPD: runs `halyx-jobnotes print` as a person would and checks what it shows.
# Every pieces file a run names is removed afterwards. Exit 77 means the case was skipped.
tool=$1
case_name=$2
sample=$3
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

fail() { echo "FAIL ($case_name): $*" >&2; echo "--- stdout"; cat "$out"; echo "--- stderr"; cat "$err"; exit 1; }
run() { "$tool" print "$@" >"$out" 2>"$err"; status=$?; }
expect_status() { [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"; }
expect_out() { grep -qF -- "$1" "$out" || fail "stdout lacks: $1"; }
expect_err() { grep -qF -- "$1" "$err" || fail "stderr lacks: $1"; }
# Removes the pieces files the text output names as kept, checking that each exists.
remove_pieces() {
    for file in $(sed -n '/(removed/!s/^Pieces file[^:]*: \(\/.*\)$/\1/p' "$out"); do
        [ -f "$file" ] || fail "no pieces file $file"
        rm -f "$file"
    done
}

case "$case_name" in
text)
    run "$sample" --set Notes1=Hello --set '*QZCopies=3' --orientation landscape --layout 1x1
    remove_pieces
    expect_status 0
    expect_out "Notes 1: Hello"
    expect_out "Personal Password: "
    expect_out "site 504:"
    expect_out "%%Orientation: Landscape"
    expect_out "%%ORBCustom1: Hello"
    expect_out "userdict /#copies 3 put"
    expect_out "Pieces file: /tmp/Halyx.temp"
    # Ranges never appear in the summary; the pieces come in the order they were added.
    grep -q "^  Copies:" "$out" && fail "a range is listed in the summary"
    first=$(grep -n "site " "$out" | head -n 1)
    case "$first" in *"site 504:"*) ;; *) fail "the orientation is not the first piece" ;; esac
    ;;
json)
    run --set Notes1=Hi --layout 2x1 --json
    expect_status 0
    python3 - "$out" <<'PY' || fail "JSON shape"
import json, os, sys
obj = json.load(open(sys.argv[1]))
assert list(obj) == ["summary", "pieces", "pieces_file", "messages", "beeps"], list(obj)
assert all(set(s) == {"title", "value"} for s in obj["summary"])
assert {"title": "Notes 1", "value": "Hi"} in obj["summary"]
assert all(set(p) == {"site", "data"} and isinstance(p["site"], int) for p in obj["pieces"])
# Two-up turns a portrait page.
assert obj["pieces"][0] == {"site": 504, "data": "%%Orientation: Landscape\n"}, obj["pieces"][0]
assert isinstance(obj["pieces_file"], str) and os.path.isfile(obj["pieces_file"])
os.remove(obj["pieces_file"])
assert obj["messages"] == [] and obj["beeps"] == 0
PY
    ;;
refused_key)
    run --set Notes1='ab#c' --json
    expect_status 3
    expect_err "Notes 1"
    python3 - "$out" <<'PY' || fail "JSON of a refusal"
import json, sys
obj = json.load(open(sys.argv[1]))
assert obj["pieces_file"] is None and obj["pieces"] == [] and obj["beeps"] == 1, obj
assert len(obj["messages"]) == 1 and "Notes 1" in obj["messages"][0], obj["messages"]
PY
    ;;
required_empty)
    run --set Instruct=
    expect_status 3
    expect_err "Instructions"
    ;;
unlisted_printer)
    list=$(mktemp)
    printf '<plist version="1.0"><dict><key>PCFILENAME</key><array><string>HALYX02.PPD</string></array></dict></plist>\n' >"$list"
    run --printer-list "$list"
    rm -f "$list"
    expect_status 1
    expect_err "Initialize"
    ;;
usage)
    for args in "--layout 0x2" "--orientation upside-down" "--set Notes1" "--set NoSuchNote=1" \
                "--printer-list /nonexistent.plist" "/nonexistent.ppd"; do
        # shellcheck disable=SC2086
        run $args
        [ "$status" -eq 2 ] || fail "exit status $status for: $args"
    done
    ;;
two_panes)
    run --repeat 2 --set Notes1=Twice
    remove_pieces
    expect_status 0
    expect_out "Pieces file of run 1: "
    expect_out "Notes 1: Twice"
    ;;
valgrind)
    command -v valgrind >/dev/null 2>&1 || { echo "valgrind is not installed: skipped"; exit 77; }
    valgrind --leak-check=full --error-exitcode=1 -q "$tool" print --repeat 2 \
        --set Notes1=Twice --set QZCopies=2 >"$out" 2>"$err"
    status=$?
    remove_pieces
    expect_status 0
    ;;
*)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
exit 0
