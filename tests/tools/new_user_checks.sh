#!/bin/bash
# new_user_checks.sh TOOL KIND SAMPLE_PPD: what a new user tries on the program, by kind.
#   files   print refuses every file check refuses, in check's words, before the pane starts;
#           check says an empty file is empty and holds the PPD against the printer list
#   values  a control character, a note the pane does not take, empty Required fields
#   output  one prefix for every message, no diagnostics unless asked for, no pieces file left
#           by a superseded run, no temporary bundle left by an interrupted one
tool=$1
kind=$2
sample=$3
dir=$(mktemp -d /tmp/halyx-newuser-XXXXXX) || exit 1
trap 'rm -rf "$dir"' EXIT
status=0
fail() { echo "FAIL ($kind): $*" >&2; status=1; }
# run EXPECTED_STATUS ARGS...: runs the tool (never for more than 20 s) into $dir/out, $dir/err.
run() {
    local want=$1
    shift
    timeout 20 "$tool" "$@" >"$dir/out" 2>"$dir/err"
    local got=$?
    [ "$got" -eq "$want" ] || { fail "exit status $got, expected $want: $*"; cat "$dir/err" >&2; }
}
# Removes the pieces file a text run names as kept.
remove_pieces() { sed -n 's/^Pieces file: \(\/.*\)$/\1/p' "$dir/out" | xargs -r rm -f; }
listed_as() { sed "s/\(PCFileName: \"\)HALYX01.PPD/\1$1/" "$sample" >"$dir/$2"; }

case "$kind" in
files)
    mkfifo "$dir/fifo"
    : >"$dir/empty.ppd"
    printf '*PPD-Adobe: "4.3"\n\000\001\002binary' >"$dir/binary.ppd"
    for file in "$dir/fifo" /dev/zero /dev/null "$dir/empty.ppd" "$dir/binary.ppd" "$dir/none.ppd" \
        "$dir"; do
        run 2 check "$file"
        sed 's/^halyx-jobnotes check: //' "$dir/err" >"$dir/check.err"
        run 2 print "$file"
        sed 's/^halyx-jobnotes print: //' "$dir/err" >"$dir/print.err"
        cmp -s "$dir/check.err" "$dir/print.err" || fail "print and check differ on $file"
        [ -s "$dir/out" ] && fail "print $file wrote on standard output"
    done
    run 2 check "$dir/empty.ppd"
    grep -q "empty.ppd: is empty" "$dir/err" || fail "check does not say the file is empty"
    # A fatal error: print goes on, but says so first, as check lists it.
    sed 's/^\*DefaultQZDuplex: None/&\n&/' "$sample" >"$dir/fatal.ppd"
    run 1 check "$dir/fatal.ppd"
    fatal=$(grep -m1 ' fatal  ' "$dir/out")
    [ -n "$fatal" ] || fail "the broken PPD has no fatal error"
    run 0 print "$dir/fatal.ppd"
    remove_pieces
    grep -qxF "halyx-jobnotes print: $fatal" "$dir/err" || fail "print does not state: $fatal"
    # The printer list decides "usable": the bundle's by default, or the one given.
    listed_as HALYX07.PPD unlisted.ppd
    printf '<plist version="1.0"><dict><key>PCFILENAME</key><array><string>HALYX07.PPD</string></array></dict></plist>\n' >"$dir/list.plist"
    while read -r want args; do
        # shellcheck disable=SC2086
        run "$want" check $args
    done <<TABLE
0 $sample
1 $dir/unlisted.ppd
0 --printer-list $dir/list.plist $dir/unlisted.ppd
1 --printer-list $dir/list.plist $sample
2 --printer-list $dir/fifo $sample
TABLE
    run 0 check "$sample"
    grep -q "usable.*printer list .*PrinterList.plist names its" "$dir/out" ||
        fail "check does not say that the printer list accepts the PPD"
    run 1 check "$dir/unlisted.ppd"
    grep -q "not in the printer list" "$dir/out" || fail "check does not name the printer list"
    run 0 check --names "HALYX07.PPD, HALYX09.PPD" "$dir/unlisted.ppd"
    ;;
values)
    for value in $'abc\tXYZ' $'ab\bc' $'x\e[Dy' $'two\nlines'; do
        run 2 print --set "Notes1=$value"
        grep -q "Notes1 holds the control character U+00" "$dir/err" ||
            fail "no word on the control character in $(printf %q "$value")"
    done
    run 3 print --set QZAccount=123 --json
    grep -q '"Account Code"' "$dir/err" || fail "no reason for the value not taken"
    python3 -c 'import json,sys; assert json.load(open(sys.argv[1]))["pieces_file"] is None' \
        "$dir/out" || fail "a refused run left its pieces file"
    run 0 print --set Notes1=Hi
    remove_pieces
    for title in Instructions "User Name"; do
        grep -qF "warning: the required field \"$title\" is empty" "$dir/err" ||
            fail "no warning for the empty $title"
    done
    # A PPD that repeats its body (as large generated ones do) still gets one word per field.
    { head -n 1 "$sample"; tail -n +2 "$sample"; tail -n +2 "$sample"; } >"$dir/twice.ppd"
    run 0 print "$dir/twice.ppd" --set Notes1=Hi
    remove_pieces
    [ "$(grep -c "required field \"Instructions\"" "$dir/err")" = 1 ] ||
        fail "the repeated Required field is not named once"
    run 0 print --set Instruct=Fold --set QZUserAuthName=erin
    remove_pieces
    grep -q "required" "$dir/err" && fail "a warning for filled Required fields"
    ;;
output)
    # One prefix: whatever went wrong, the message (before any usage) is the program's.
    while read -r want args; do
        # shellcheck disable=SC2086
        run "$want" $args
        head -n 1 "$dir/err" | grep -q '^halyx-jobnotes\( [a-z]*\)\?: ' ||
            fail "a message without the prefix: $args: $(head -n 1 "$dir/err")"
    done <<TABLE
2
2 check --frobnicate $sample
2 check --names
2 show --json
2 print --set
3 print --set Notes1=ab#c
TABLE
    run 2
    [ "$(head -n 1 "$dir/err")" = "halyx-jobnotes: no command given" ] || fail "no arguments"
    # No diagnostics unless asked for, with a UTF-8 PPD too.
    sed 's/^\*LanguageEncoding: ISOLatin1/*LanguageEncoding: UTF-8/' "$sample" >"$dir/utf8.ppd"
    run 0 print "$dir/utf8.ppd" --set Instruct=x --set QZUserAuthName=erin
    remove_pieces
    grep -q -e '<data' -e 'CFStringGetMostCompatible' "$dir/err" && fail "diagnostics unasked"
    HALYX_DIAGNOSTICS=1 run 0 print "$dir/utf8.ppd"
    remove_pieces
    grep -q '<data 6 bytes' "$dir/err" || fail "no diagnostics when asked for"
    # A superseded run's pieces file goes; the last one stays, the user's.
    run 0 print --repeat 3 --set Instruct=x --set QZUserAuthName=erin
    for file in $(sed -n 's/^Pieces file of run [0-9]*: \(\/[^ ]*\).*$/\1/p' "$dir/out"); do
        [ -e "$file" ] && fail "the superseded $file is left"
    done
    [ "$(grep -c '^Pieces file of run' "$dir/out")" -eq 2 ] || fail "not two superseded runs"
    kept=$(sed -n 's/^Pieces file: \(\/.*\)$/\1/p' "$dir/out")
    [ -f "$kept" ] || fail "the last pieces file is gone"
    rm -f "$kept"
    # An interrupted run removes its temporary bundle.
    mkdir "$dir/tmp"
    cp "$(dirname "$0")/../../bundle/PrinterList.plist" "$dir/list.plist"
    TMPDIR="$dir/tmp" "$tool" print --printer-list "$dir/list.plist" --repeat 9999 \
        --set Instruct=Interrupted >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 500); do [ -n "$(ls "$dir/tmp")" ] && break; sleep 0.01; done
    [ -n "$(ls "$dir/tmp")" ] || fail "no temporary bundle in TMPDIR"
    kill -TERM "$pid"
    wait "$pid"
    [ -z "$(ls "$dir/tmp")" ] || fail "the interrupted run left $(ls "$dir/tmp")"
    ;;
*)
    echo "unknown kind $kind" >&2
    exit 2
    ;;
esac
exit $status
