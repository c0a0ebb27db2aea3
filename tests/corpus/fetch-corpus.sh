#!/bin/bash
# Extracts every PPD of Debian's openprinting-ppds package once into a cache folder outside the
# repository, so that the corpus tests parse real printer files. Installs the package and the
# reference parser's development files when they are missing.
#
#   tests/corpus/fetch-corpus.sh [CACHE]
#
# CACHE defaults to $HALYX_PPD_CORPUS, else /var/cache/halyx-ppd-corpus. The folder gets ppd/N.ppd
# (numbered, so that odd names never matter), index.tsv ("N<TAB>URI" per line) and a stamp file
# "complete" written last; a folder with the stamp is reused as it is. Always exits 0: when the
# package cannot be had, no stamp is written and the corpus tests skip themselves.
set -uo pipefail

cache=${1:-${HALYX_PPD_CORPUS:-/var/cache/halyx-ppd-corpus}}
driver=/usr/lib/cups/driver/openprinting-ppds

if [ -f "$cache/complete" ]; then
    echo "PPD corpus: reusing $cache ($(wc -l <"$cache/index.tsv") files)"
    exit 0
fi

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in openprinting-ppds libcups2-dev; do
    installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "PPD corpus: installing ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo -n"; fi
    export DEBIAN_FRONTEND=noninteractive
    if ! { $sudo apt-get install -y -q "${missing[@]}" >/dev/null 2>&1 ||
           { $sudo apt-get update -q >/dev/null 2>&1 &&
             $sudo apt-get install -y -q "${missing[@]}" >/dev/null 2>&1; }; }; then
        echo "PPD corpus: could not install ${missing[*]}; the corpus tests will be skipped"
        exit 0
    fi
fi
if [ ! -x "$driver" ]; then
    echo "PPD corpus: $driver is missing; the corpus tests will be skipped"
    exit 0
fi

if ! mkdir -p "$cache"; then
    echo "PPD corpus: cannot make $cache; the corpus tests will be skipped"
    exit 0
fi
work=$(mktemp -d "$cache/.fetch.XXXXXX") || exit 0
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/ppd"

# One pass over the driver's archive; when that fails, one "cat" per listed file (slow).
if python3 "$(dirname "$0")/extract-ppds.py" "$driver" "$work"; then
    kept=$(wc -l <"$work/index.tsv")
    total=$kept
elif [ "${HALYX_CORPUS_SLOW:-0}" != "1" ]; then
    # The one-file-at-a-time way takes over an hour for the whole package: too long for a test
    # run. It is there on request only.
    echo "PPD corpus: the one-pass extraction failed; the corpus tests will be skipped" \
         "(HALYX_CORPUS_SLOW=1 extracts one file at a time, which takes over an hour)"
    exit 0
else
    echo "PPD corpus: extracting through the driver, one file at a time"
    rm -rf "$work/ppd" && mkdir -p "$work/ppd"
    # Each line of the list starts with the quoted URI of one PPD.
    "$driver" list 2>/dev/null | sed -n 's/^"\([^"]*\)".*/\1/p' | sort -u >"$work/uris" || true
    total=$(wc -l <"$work/uris")
    if [ "$total" -eq 0 ]; then
        echo "PPD corpus: the driver lists no PPD; the corpus tests will be skipped"
        exit 0
    fi
    n=0
    kept=0
    : >"$work/index.tsv"
    while IFS= read -r uri; do
        n=$((n + 1))
        if "$driver" cat "$uri" >"$work/ppd/$n.ppd" 2>/dev/null && [ -s "$work/ppd/$n.ppd" ]; then
            printf '%s\t%s\n' "$n" "$uri" >>"$work/index.tsv"
            kept=$((kept + 1))
        else
            rm -f "$work/ppd/$n.ppd"
        fi
        if [ $((n % 100)) -eq 0 ]; then echo "PPD corpus: $n of $total"; fi
    done <"$work/uris"
fi

rm -rf "$cache/ppd" "$cache/index.tsv"
mv "$work/ppd" "$cache/ppd" && mv "$work/index.tsv" "$cache/index.tsv" &&
    date -u +%FT%TZ >"$cache/complete"
echo "PPD corpus: $kept of $total PPDs extracted"
exit 0
