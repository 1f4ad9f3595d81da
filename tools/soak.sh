#!/usr/bin/env bash
# Soak every program on a virtual display: 2 minutes each of random keys and mouse input.
# Usage: tools/soak.sh [soak.py options]   (see tools/soak.py --help; needs a build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-deps.sh test
[ -x build/run/gridroute ] || { cmake -S . -B build >/dev/null && cmake --build build -j"$(nproc)"; }
exec tools/with-display.sh --virtual python3 tools/soak.py "$@"
