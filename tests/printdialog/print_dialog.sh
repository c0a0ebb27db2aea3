#!/bin/bash
# print_dialog.sh CASE PRINT FILTER EXAMPLES_DIR [SCREENSHOT]: halyx-print used as a person uses
# it, under the Xvfb of the test's own (run it with xvfb-run -a), keys typed with xdotool, on a
# CUPS server of the test's own (tests/support/private-cupsd.sh) with one queue, "Notes", whose
# PPD (the sample) runs the filter and whose output is a file.
#
# Cases:
#   refused_key    a letter typed into the Copies field is refused with the pane's message; the
#                  job printed afterwards carries the copies the field kept
#   refused_paste  a pasted text with a comma is refused in a note without commas; the note keeps
#                  its text in the printed job
#   masked         a password field shows the same marks for two different passwords of one
#                  length (and not what an empty field shows); Print is held back, with the
#                  pane's message, while the password is too short; Cancel writes no pieces file
#   printer_change choosing a printer whose PPD the pane does not serve removes the tab (the
#                  pane is closed), choosing the Halyx queue again opens it anew
#   accessibility  through AT-SPI (in a D-Bus session of the test's own): the fields are named
#                  after their titles, the password field is a password text, and a text written
#                  into a field that breaks its rules is refused with the pane's message, the
#                  field keeping its text, while one that keeps them is taken; a key typed over
#                  a selection replaces it, a refused one leaves text and selection as they were
#   print          a valid job reaches the queue with the notes at their places; writes the
#                  screenshot of the tab with the values typed (and a refused key's message) to
#                  SCREENSHOT (bench/printdialog/open_time.sh measures how long the tab takes)
set -u
case_name=$1 program=$2 filter=$3 examples=$4 screenshot=${5:-}
# Assistive technologies talk to the program over a session bus, which this case brings.
if [ "$case_name" = accessibility ] && [ -z "${HALYX_TEST_BUS:-}" ]; then
    HALYX_TEST_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
harness=$here/../support/private-cupsd.sh
work=$(mktemp -d)
chmod 755 "$work"
dialog_pid=
cleanup() {
    [ -n "$dialog_pid" ] && kill "$dialog_pid" 2>/dev/null
    [ -n "${CUPSD_DIR:-}" ] && "$harness" stop "$CUPSD_DIR"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL ($case_name): $*" >&2
    [ -f "$work/dialog.err" ] && grep -v WARNING "$work/dialog.err" >&2
    exit 1
}
[ -n "${DISPLAY:-}" ] || fail "no display: run under xvfb-run -a"

eval "$("$harness" start --watch $$)" || fail "the private cupsd did not start"
mkdir -m 755 "$CUPSD_DIR/filter"
install -m 755 "$filter" "$CUPSD_DIR/filter/HalyxCupsFilter"
sed "s|0 HalyxCupsFilter\"|0 $CUPSD_DIR/filter/HalyxCupsFilter\"|" "$examples/HalyxSample.ppd" \
    >"$work/Notes.ppd"
lpadmin -p Notes -E -v "file://$CUPSD_DIR/out/Notes.ps" -P "$work/Notes.ppd" 2>/dev/null ||
    fail "lpadmin Notes"

# Opens the dialog on Notes and brings the "Halyx Job Notes" tab to the front, its first field
# focused.
open_dialog() {
    local tries window
    # The accessibility bridge only where the case's session bus is.
    local bridge=(env NO_AT_BRIDGE=1)
    [ -n "${HALYX_TEST_BUS:-}" ] && bridge=(env -u NO_AT_BRIDGE)
    "${bridge[@]}" "$program" --verbose --printer Notes "$@" >"$work/dialog.out" \
        2>"$work/dialog.err" &
    dialog_pid=$!
    for tries in $(seq 1 200); do
        grep -q "the pane is open for Notes" "$work/dialog.err" && break
        kill -0 "$dialog_pid" 2>/dev/null || fail "halyx-print ended early"
        sleep 0.025
    done
    grep -q "the pane is open for Notes" "$work/dialog.err" || fail "no pane for Notes"
    window=$(xdotool search --sync --name '^Print$' | head -n 1)
    xdotool windowfocus --sync "$window" || fail "cannot focus the dialog"
    sleep 0.3
    # General, Page Setup, then the tab; Tab enters its first field.
    keys ctrl+Page_Down ctrl+Page_Down Tab
}
keys() { xdotool key --delay 40 "$@" && sleep 0.2; }
type_text() { xdotool type --delay 40 "$1" && sleep 0.2; }

# Every field in the pane's order from Notes 1 to Copies, with what it needs to be printable.
fill_fields() {
    type_text 'abc'
    keys Tab ctrl+a
    type_text 'Rush'
    keys Tab
    type_text 'Staple, fold'
    keys Tab Tab
    type_text '12345678'
    keys Tab Tab Tab
    type_text 'jdoe'
    keys Tab
    type_text 'secret12'
    keys Tab ctrl+a
    type_text '2'
}

# Presses Print (Enter) and waits for the job to be written by the queue.
print_and_wait() {
    local tries
    keys Return
    wait "$dialog_pid"
    status=$?
    dialog_pid=
    [ "$status" -eq 0 ] || fail "halyx-print exited with $status"
    for tries in $(seq 1 200); do
        if [ -s "$CUPSD_DIR/out/Notes.ps" ] && ! lpstat -o Notes | grep -q .; then break; fi
        sleep 0.1
    done
    [ -s "$CUPSD_DIR/out/Notes.ps" ] || fail "nothing reached the queue"
    # The job is done with its pieces file; the dialog leaves it, as the pane does.
    sed -n 's/^halyx-print: sent .* with the pieces file \(\/tmp\/Halyx\.temp[0-9]*\)$/\1/p' \
        "$work/dialog.err" | xargs -r rm -f
}
printed_has() { grep -aqF -- "$1" "$CUPSD_DIR/out/Notes.ps" || fail "the job lacks '$1'"; }
refused_with() {
    grep -qF -- "halyx-print: refused: $1" "$work/dialog.err" || fail "no refusal '$1'"
}

# The pixels of the field at window position X,Y (its top-left corner) and size W x H.
field_pixels() {
    import -window root -crop "$3x$4+$1+$2" +repage "$work/$5.png" || fail "no screenshot"
}

case "$case_name" in
    refused_key)
        open_dialog
        fill_fields
        type_text 'x'
        refused_with "Copies: only the digits 0 to 9 can be typed here."
        print_and_wait
        printed_has "userdict /#copies 2 put"
        ;;
    refused_paste)
        open_dialog
        fill_fields
        # Copy the instructions (commas allowed there) and paste them over Notes 2 (no commas).
        keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab ctrl+a ctrl+c
        keys shift+Tab ctrl+a ctrl+v
        refused_with ""
        print_and_wait
        printed_has "%%BeginFeature: *Notes2 Rush"
        printed_has "%%BeginFeature: *Instruct Staple, fold"
        ;;
    masked)
        open_dialog
        # Instructions must be filled before the keys may leave it; its text marks this run's
        # pieces file, if one were written, among those of other programs.
        keys Tab Tab
        token="Cancel $$ $RANDOM"
        type_text "$token"
        keys Tab Tab
        # Personal Password sits in the fifth row of the list.
        field_pixels 164 226 330 30 empty
        type_text '12345678'
        field_pixels 164 226 330 30 first
        keys ctrl+a
        type_text '87654321'
        field_pixels 164 226 330 30 second
        [ "$(compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1)" = 0 ] ||
            fail "two passwords look different"
        [ "$(compare -metric AE "$work/first.png" "$work/empty.png" null: 2>&1)" != 0 ] ||
            fail "the password shows nothing"
        keys BackSpace Return
        sleep 0.5
        kill -0 "$dialog_pid" 2>/dev/null || fail "Print went through with a short password"
        refused_with "Personal Password: This field must contain exactly 8 characters."
        keys Escape
        wait "$dialog_pid"
        status=$?
        dialog_pid=
        [ "$status" -eq 1 ] || fail "Cancel exited with $status"
        python3 - "$token" <<'PY' || fail "Cancel left a pieces file"
import glob, plistlib, sys
token = sys.argv[1].encode()
for name in glob.glob("/tmp/Halyx.temp*"):
    try:
        items = plistlib.load(open(name, "rb"))
    except Exception:
        continue
    assert not any(isinstance(i, bytes) and token in i for i in items), name
PY
        ;;
    printer_change)
        lpadmin -p Plain -E -v "file://$CUPSD_DIR/out/Plain.ps" \
            -P /usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd 2>/dev/null ||
            fail "lpadmin Plain"
        open_dialog
        # Back to General, where the printers are listed: Print to File, Notes, Plain.
        keys ctrl+Page_Up ctrl+Page_Up
        xdotool mousemove 65 132 click 1 && sleep 1
        grep -q "the pane for Notes is closed" "$work/dialog.err" || fail "the pane stayed open"
        grep -q "no pane for Plain: the pane does not serve this printer" "$work/dialog.err" ||
            fail "Plain was not refused"
        xdotool mousemove 65 109 click 1 && sleep 1
        [ "$(grep -c "the pane is open for Notes" "$work/dialog.err")" = 2 ] ||
            fail "the pane did not open again for Notes"
        keys Escape
        ;;
    accessibility)
        open_dialog
        probe=$here/atspi_probe.py
        "$probe" names >"$work/names" || fail "no fields through AT-SPI"
        for expected in "text	Notes 1" "text	Notes 2" "text	Instructions" \
            "password text	Personal Password"; do
            grep -qxF "$expected" "$work/names" || fail "no field '$expected' in $(cat "$work/names")"
        done
        "$probe" write "Notes 2" "a,b" && sleep 0.3
        refused_with "Notes 2: that character cannot be typed here."
        [ "$("$probe" read "Notes 2")" = Draft ] || fail "Notes 2 took a refused text"
        "$probe" write "Notes 1" "Hi there" && sleep 0.3
        [ "$("$probe" read "Notes 1")" = "Hi there" ] || fail "Notes 1 refused a valid text"
        # Typed over a selection: a refused key keeps text and selection, the next replaces it.
        keys End shift+Left shift+Left numbersign Z
        [ "$("$probe" read "Notes 1")" = "Hi theZ" ] || fail "the selection was not replaced"
        ;;
    print)
        open_dialog
        fill_fields
        # A refused key, so that the screenshot shows the pane's message too.
        type_text 'x'
        if [ -n "$screenshot" ]; then
            import -window root -crop 640x520+0+0 +repage "$screenshot" || fail "no screenshot"
        fi
        print_and_wait
        grep -q "halyx-print: sent" "$work/dialog.err" || fail "the job was not sent"
        python3 - "$CUPSD_DIR/out/Notes.ps" <<'PY' || fail "notes misplaced"
import sys
out = open(sys.argv[1], "rb").read()
end_comments, end_setup = out.index(b"%%EndComments"), out.index(b"%%EndSetup")
for comment in (b"%%ORBCustom1: abc", b"%%ORBCustom2: Rush", b"%%ORBCustom3: Staple, fold"):
    assert out.index(comment) < end_comments, comment
for code in (b"userdict /ORBNote1 (abc) put", b"userdict /ORBInstruct (Staple, fold) put",
             b"userdict /#copies 2 put"):
    assert end_comments < out.index(code) < end_setup, code
PY
        ;;
    *)
        echo "unknown case $case_name" >&2
        exit 2
        ;;
esac
echo "PASS ($case_name)"
