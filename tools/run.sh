#!/usr/bin/env bash
# Builds the programs and the data files into build/ and starts gridroute in build/run, where
# its maze and texture files are. Without a display that answers, gridroute runs on a private
# virtual display (Xvfb); its console dialogue works the same either way.
# Usage: tools/run.sh          (VIEWERS_BUILD_DIR=<dir> builds elsewhere than build/)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${VIEWERS_BUILD_DIR:-build}

tools/ensure-deps.sh run

# A first configure builds only what running needs; an existing build/ keeps its own settings.
mkdir -p "$build"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIEWERS_TESTS=OFF -DVIEWERS_BENCH=OFF \
    >"$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 1; }
fi
echo "building into $build/ ..."
cmake --build "$build" -j"$(nproc)" >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log" >&2; exit 1; }

cd "$build/run"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec ./gridroute "$@"
fi
echo "no display found: starting gridroute on a virtual display (Xvfb); its console works as usual, Ctrl-C ends it"
exec "$root/tools/with-display.sh" --virtual ./gridroute "$@"
