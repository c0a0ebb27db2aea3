#!/bin/bash
# Builds everything and runs the main job: the halyx-jobnotes program.
# Arguments are passed to the program. Without any it opens the Halyx Job Notes pane on the
# bundled sample PPD as the print dialog does, types a few values and prints: the summary, the
# PostScript pieces and the pieces file are shown. `print` with options only runs that job with them.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
halyx_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
sample_job=(examples/HalyxSample.ppd --set Notes1="Rush job"
    --set Instruct="Staple top left, 2 holes" --set QZUserAuthName=jdoe
    --set QZUserAuthPwd=secret42 --set QZCopies=2)
if [ $# -eq 0 ]; then
    set -- print "${sample_job[@]}"
elif [ "$1" = print ]; then
    # `print` with options only (no PPD, no --set) prints the sample job with those options,
    # e.g. `scripts/run.sh print --picture pane.png`.
    own_job=0
    for argument in "$@"; do
        case "$argument" in
            --set | --set=* | *.ppd | *.PPD) own_job=1 ;;
        esac
    done
    if [ "$own_job" -eq 0 ]; then
        shift
        set -- print "${sample_job[@]}" "$@"
    fi
fi
exec build/bin/halyx-jobnotes "$@"
