#!/bin/bash
# Builds everything and runs the main job: the halyx-jobnotes program.
# Arguments are passed to the program. Without any it opens the Halyx Job Notes pane on the
# bundled sample PPD as the print dialog does, types a few values and prints: the summary, the
# PostScript pieces and the pieces file are shown.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
halyx_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [ $# -eq 0 ]; then
    set -- print examples/HalyxSample.ppd --set Notes1="Rush job" \
        --set Instruct="Staple top left, 2 holes" --set QZUserAuthName=jdoe \
        --set QZUserAuthPwd=secret42 --set QZCopies=2
fi
exec build/bin/halyx-jobnotes "$@"
