#!/usr/bin/env bash
# Soak every program on a virtual display: 2 minutes each of random keys and mouse input, with
# resident memory watched (see tools/soak.py --help). Not part of tools/test.sh.
# Usage: tools/soak.sh [soak.py options] [programs...]
#   VIEWERS_SOAK_BUILD=<build dir> (default build; it is configured and built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VIEWERS_SOAK_BUILD:-build}
tools/ensure-deps.sh test
if [ ! -x "$build/run/gridroute" ] || [ ! -f "$build/run/maze6.obj" ]; then
  cmake -S . -B "$build" >/dev/null && cmake --build "$build" -j"$(nproc)"
fi
exec tools/with-display.sh --virtual python3 tools/soak.py --run-dir "$build/run" "$@"
