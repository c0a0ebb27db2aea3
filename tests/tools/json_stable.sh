#!/bin/sh
# json_stable.sh TOOL PPD: `show --json` prints exactly one valid JSON object, the same bytes on
# every run.
tool=$1
ppd=$2
dir=$(mktemp -d /tmp/halyx-json-XXXXXX) || exit 1
trap 'rm -rf "$dir"' EXIT
"$tool" show --json "$ppd" >"$dir/first" || { echo "show --json failed" >&2; exit 1; }
"$tool" show --json "$ppd" >"$dir/second" || { echo "second show --json failed" >&2; exit 1; }
python3 -m json.tool "$dir/first" >/dev/null || { echo "not valid JSON" >&2; exit 1; }
python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); sys.exit(0 if isinstance(d, dict) else 1)' \
    "$dir/first" || { echo "not one JSON object" >&2; exit 1; }
cmp -s "$dir/first" "$dir/second" || { echo "output differs between runs" >&2; exit 1; }
