#!/bin/bash
# cups_e2e.sh CASE TOOL FILTER EXAMPLES_DIR: one end-to-end run of HalyxCupsFilter on a CUPS server
# of the test's own (tests/support/private-cupsd.sh). Two queues write into files: "Notes", whose
# PPD (an example PPD) runs the filter from a root-owned folder the test makes, and "Plain", the
# same PPD without the filter, whose output is what an unchanged job looks like.
#
# Cases: notes, no_option, refused_symlink, refused_owner, refused_name, pdf, exit_statuses.
set -u
case_name=$1 tool=$2 filter=$3 examples=$4
here=$(cd "$(dirname "$0")" && pwd)
harness=$here/../support/private-cupsd.sh
work=$(mktemp -d)
chmod 755 "$work"
made_files=()
cleanup() {
    [ -n "${CUPSD_DIR:-}" ] && "$harness" stop "$CUPSD_DIR"
    rm -rf "$work"
    [ ${#made_files[@]} -gt 0 ] && rm -f "${made_files[@]}"
}
trap cleanup EXIT
fail() {
    echo "FAIL ($case_name): $*" >&2
    [ -n "${CUPSD_DIR:-}" ] && tail -n 30 "$CUPSD_DIR/log/error_log" >&2
    exit 1
}

eval "$("$harness" start --watch $$)" || fail "the private cupsd did not start"
# CUPS runs a filter only from a root-owned file in a root-owned folder that group and others
# cannot write.
mkdir -m 755 "$CUPSD_DIR/filter"
install -m 755 "$filter" "$CUPSD_DIR/filter/HalyxCupsFilter"
ppd=$examples/HalyxSample.ppd
sed "s|0 HalyxCupsFilter\"|0 $CUPSD_DIR/filter/HalyxCupsFilter\"|" "$ppd" >"$work/Notes.ppd"
grep -av '^\*cupsFilter2:' "$ppd" >"$work/Plain.ppd"
for queue in Notes Plain; do
    lpadmin -p "$queue" -E -v "file://$CUPSD_DIR/out/$queue.ps" -P "$work/$queue.ppd" 2>/dev/null ||
        fail "lpadmin $queue"
done

# A small structured PostScript document.
cat >"$work/doc.ps" <<'PS'
%!PS-Adobe-3.0
%%Title: e2e
%%Pages: 1
%%EndComments
%%BeginProlog
%%EndProlog
%%Page: 1 1
/Helvetica findfont 14 scalefont setfont 72 700 moveto (End to end) show showpage
%%Trailer
%%EOF
PS

# job_state QUEUE ID: waits for the job's end; prints "STATE|MESSAGE".
job_state() {
    local tries out
    cat >"$work/get-job.test" <<TEST
{
  OPERATION Get-Job-Attributes
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri \$uri
  ATTR integer job-id $2
  ATTR name requesting-user-name root
  DISPLAY job-state
  DISPLAY job-printer-state-message
}
TEST
    for tries in $(seq 1 300); do
        out=$(ipptool -t "ipp://$CUPS_SERVER/printers/$1" "$work/get-job.test" 2>&1)
        state=$(sed -n 's/.*job-state (enum) = \([a-z-]*\).*/\1/p' <<<"$out")
        case "$state" in
            stopped | canceled | aborted | completed)
                echo "$state|$(sed -n 's/.*job-printer-state-message (textWithoutLanguage) = //p' <<<"$out")"
                return 0
                ;;
        esac
        sleep 0.1
    done
    echo "timeout|"
}

# lp_job QUEUE FILE [OPTION]: submits with lp, waits, prints "STATE|MESSAGE".
lp_job() {
    local id
    id=$(lp -d "$1" ${3:+-o "$3"} "$2" | sed -n 's/^request id is [^-]*-\([0-9]*\).*/\1/p')
    [ -n "$id" ] || fail "lp to $1 was refused"
    job_state "$1" "$id"
}

# pieces_file JSON: the "pieces_file" of print's JSON output.
pieces_file() { sed -n 's/^ *"pieces_file": "\(.*\)",$/\1/p' "$1"; }

# A pieces file as the pane writes it (in /tmp, owned by the one who printed).
make_pieces() {
    "$tool" print --set Notes1=Hello --set QZCopies=2 --json >"$work/pieces.json" 2>/dev/null ||
        fail "print without a queue"
    pieces=$(pieces_file "$work/pieces.json")
    [ -f "$pieces" ] || fail "no pieces file"
    made_files+=("$pieces")
}

# A free name that the filter accepts, in $name (and removed when the test ends).
free_pieces_name() {
    local n
    for n in $(seq 1 50); do
        name=/tmp/Halyx.temp$((RANDOM % 55536 + 10000))
        if ! [ -e "$name" ] && ! [ -L "$name" ]; then
            made_files+=("$name")
            return
        fi
    done
    fail "no free pieces file name"
}

# refused HOW REASON: a pieces file refused for REASON leaves the job unchanged and completed.
refused() {
    local option=$1 reason=$2 result
    lp_job Plain "$work/doc.ps" >/dev/null
    result=$(lp_job Notes "$work/doc.ps" "ORB.PSData.com.example.print.pde.test.HJbn=$option")
    [ "${result%%|*}" = completed ] || fail "the job ended $result"
    case "$result" in *"$reason"*) ;; *) fail "the job's message '${result#*|}' lacks '$reason'" ;; esac
    cmp -s "$CUPSD_DIR/out/Notes.ps" "$CUPSD_DIR/out/Plain.ps" || fail "the job was changed"
}

# placed JSON OUT [REF]: each comment piece sits right before the first %%EndComments and the
# setup pieces right before the first %%EndSetup, in their order; with REF, taking them out again
# gives REF byte for byte.
placed() {
    python3 - "$@" <<'PY' || fail "pieces misplaced"
import json, sys
result = json.load(open(sys.argv[1]))
out = open(sys.argv[2], "rb").read()
pieces = [(p["site"], p["data"].encode("latin-1")) for p in result["pieces"]]
comments = b"".join(d for s, d in pieces if s in (504, 30))
features = b"".join(d for s, d in pieces if s in (81, 20))
assert comments and features, pieces
end_comments = out.index(b"%%EndComments")
assert out[end_comments - len(comments):end_comments] == comments, "comments"
end_setup = out.index(b"%%EndSetup")
assert out[end_setup - len(features):end_setup] == features, "features"
assert out.count(comments) == 1 and out.count(features) == 1
if len(sys.argv) > 3:
    # The test page names the queue it went to.
    ref = open(sys.argv[3], "rb").read().replace(b"(Queue: Plain)", b"(Queue: Notes)")
    stripped = out.replace(comments, b"", 1).replace(features, b"", 1)
    assert stripped == ref, "the rest of the job changed"
PY
}

case "$case_name" in
notes)
    "$tool" print --queue Plain --wait --json >"$work/plain.json" || fail "print to Plain"
    made_files+=("$(pieces_file "$work/plain.json")")
    start=$(date +%s.%N)
    "$tool" print --queue Notes --set Notes1=Hello --set Instruct="Staple it" --set QZCopies=3 \
        --orientation landscape --wait --json >"$work/notes.json" || fail "print to Notes: exit $?"
    end=$(date +%s.%N)
    echo "one job through the private cupsd: $(awk "BEGIN { printf \"%.2f\", $end - $start }") s"
    python3 - "$work/notes.json" <<'PY' || fail "the job's fields"
import json, os, sys
r = json.load(open(sys.argv[1]))
assert r["job"] > 0 and r["job_state"] == "completed", r
# The job has ended: its pieces file is gone.
assert not os.path.exists(r["pieces_file"]), r["pieces_file"]
PY
    grep -q '%%ORBCustom1: Hello' "$CUPSD_DIR/out/Notes.ps" || fail "no note in the job"
    grep -q 'userdict /#copies 3 put' "$CUPSD_DIR/out/Notes.ps" || fail "no range in the job"
    placed "$work/notes.json" "$CUPSD_DIR/out/Notes.ps" "$CUPSD_DIR/out/Plain.ps"
    ;;
no_option)
    lp_job Plain "$work/doc.ps" >/dev/null
    result=$(lp_job Notes "$work/doc.ps")
    [ "$result" = "completed|" ] || fail "the job ended $result"
    cmp -s "$CUPSD_DIR/out/Notes.ps" "$CUPSD_DIR/out/Plain.ps" || fail "the job was changed"
    ;;
refused_symlink)
    make_pieces
    free_pieces_name
    ln -s "$pieces" "$name"
    refused "$name" "is a symbolic link"
    ;;
refused_owner)
    make_pieces
    free_pieces_name
    cp "$pieces" "$name"
    chown nobody "$name"
    refused "$name" "does not belong to the job's user"
    ;;
refused_name)
    make_pieces
    cp "$pieces" "$CUPSD_DIR/out/pieces.plist"
    refused "$CUPSD_DIR/out/pieces.plist" "its name is not /tmp/Halyx.temp"
    ;;
pdf)
    python3 - "$work/doc.pdf" <<'PY'
import sys
stream = b"BT /F1 18 Tf 72 700 Td (A PDF document) Tj ET"
objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
           b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
           b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
           b"/Resources << /Font << /F1 5 0 R >> >> >>",
           b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
           b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
out = b"%PDF-1.4\n"
offsets = []
for i, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += b"%d 0 obj\n" % i + body + b"\nendobj\n"
xref = len(out)
out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
out += b"".join(b"%010d 00000 n \n" % o for o in offsets)
out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(sys.argv[1], "wb").write(out)
PY
    "$tool" print --queue Notes --document "$work/doc.pdf" --set Notes1=Hello --wait --json \
        >"$work/pdf.json" || fail "print the PDF: exit $?"
    grep -q '^%%Page: 1 1' "$CUPSD_DIR/out/Notes.ps" || fail "the PDF's page is missing"
    placed "$work/pdf.json" "$CUPSD_DIR/out/Notes.ps"
    ;;
exit_statuses)
    expect() {
        local want=$1 pattern=$2 status
        shift 2
        "$@" >/dev/null 2>"$work/err"
        status=$?
        [ "$status" -eq "$want" ] || fail "$* exited $status, not $want: $(cat "$work/err")"
        grep -q -- "$pattern" "$work/err" || fail "$*: message '$(cat "$work/err")' lacks '$pattern'"
        [ "$(grep -c '^halyx-jobnotes print:' "$work/err")" -eq 1 ] || fail "$*: not one message"
    }
    lpadmin -p Raw -E -v "file://$CUPSD_DIR/out/Raw.ps" 2>/dev/null || fail "lpadmin Raw"
    lpadmin -p Closed -E -v "file://$CUPSD_DIR/out/Closed.ps" -P "$work/Notes.ppd" 2>/dev/null
    cupsreject Closed || fail "cupsreject"
    # A device that cannot be opened ends the job aborted.
    lpadmin -p Broken -E -v "file:///nonexistent/Broken.ps" -P "$work/Plain.ppd" \
        -o printer-error-policy=abort-job 2>/dev/null || fail "lpadmin Broken"
    expect 2 "queue Nowhere: no such queue" "$tool" print --queue Nowhere
    expect 2 "queue Notes: the server 127.0.0.1:1 does not answer" \
        env CUPS_SERVER=127.0.0.1:1 "$tool" print --queue Notes
    expect 2 "queue Raw: the server gives no PPD" "$tool" print --queue Raw
    expect 2 "queue Closed: the server refused the job" "$tool" print --queue Closed
    "$tool" print --queue Broken --wait --json >"$work/out" 2>/dev/null
    status=$?
    made_files+=("$(pieces_file "$work/out")")
    [ "$status" -eq 4 ] || fail "a job that does not print exited $status"
    python3 - "$work/out" <<'PY' || fail "the job's end: $(cat "$work/out")"
import json, os, sys
r = json.load(open(sys.argv[1]))
assert r["job_state"] in ("stopped", "aborted"), r["job_state"]
# A stopped job may run again: its pieces stay.
assert os.path.exists(r["pieces_file"]) == (r["job_state"] == "stopped")
PY
    ;;
*)
    fail "unknown case"
    ;;
esac
exit 0
