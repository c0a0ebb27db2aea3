#!/bin/sh
# check_files.sh TOOL: `check` and `show` refuse a missing file, a folder, a binary file and (when
# permissions apply) an unreadable file with a message naming it and exit status 2.
tool=$1
dir=$(mktemp -d /tmp/halyx-tool-XXXXXX) || exit 1
trap 'chmod 600 "$dir/locked.ppd" 2>/dev/null; rm -rf "$dir"' EXIT
printf '*PPD-Adobe: "4.3"\n\000\001\002\003binary' > "$dir/binary.ppd"
printf '*PPD-Adobe: "4.3"\n' > "$dir/locked.ppd"
chmod 000 "$dir/locked.ppd"
cases="$dir/missing.ppd $dir $dir/binary.ppd"
# Permissions do not stop the superuser.
if ! cat "$dir/locked.ppd" >/dev/null 2>&1; then cases="$cases $dir/locked.ppd"; fi
status=0
for file in $cases; do
    for command in check show "show --json"; do
        # shellcheck disable=SC2086
        "$tool" $command "$file" >"$dir/out" 2>"$dir/err"
        got=$?
        if [ "$got" -ne 2 ]; then
            echo "$command $file: exit status $got, expected 2" >&2
            status=1
        fi
        if ! grep -q "$file" "$dir/err"; then
            echo "$command $file: the message does not name the file:" >&2
            cat "$dir/err" >&2
            status=1
        fi
        if [ -s "$dir/out" ]; then
            echo "$command $file: printed on standard output" >&2
            status=1
        fi
    done
done
exit $status
