#!/usr/bin/env bash
# Runs a command with DISPLAY set: the current display when one answers, otherwise a private
# Xvfb server that lives as long as the command.
# Usage: tools/with-display.sh [--virtual] command args...
set -uo pipefail

force_virtual=0
if [ "${1:-}" = "--virtual" ]; then
  force_virtual=1
  shift
fi

if [ $force_virtual -eq 0 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "no display and no Xvfb: install the package xvfb" >&2
  exit 1
fi

# -noreset: a client connecting while the last one leaves must not meet a server reset.
# -r: no key auto-repeat, so a held key gives one press and one release.
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x1024x24 -nolisten tcp -noreset -r 3>"$fdfile" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$fdfile" ] && break
  sleep 0.05
done
number=$(head -n1 "$fdfile")
rm -f "$fdfile"
if [ -z "$number" ]; then
  echo "Xvfb did not start" >&2
  kill "$xvfb_pid" 2>/dev/null
  exit 1
fi
export DISPLAY=":$number"
"$@"
status=$?
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
exit $status
