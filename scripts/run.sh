#!/bin/bash
# Builds everything and runs the main job: the halyx-jobnotes program.
# Arguments are passed to the program; without any it shows its help.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
halyx_install_deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [ $# -eq 0 ]; then set -- --help; fi
exec build/bin/halyx-jobnotes "$@"
