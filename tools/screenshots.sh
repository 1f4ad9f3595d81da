#!/usr/bin/env bash
# Rebuilds the README's pictures in docs/: each program run on a virtual display and driven there.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-deps.sh test
cmake -S . -B build >/dev/null && cmake --build build -j"$(nproc)" >/dev/null
exec tools/with-display.sh --virtual python3 tools/screenshots.py --run-dir build/run --out docs "$@"
