#!/usr/bin/env bash
# Checks the Debian packages a command needs and installs the missing ones when run as root;
# otherwise prints the one apt-get line to run and stops.
# Usage: tools/ensure-deps.sh build|run|test
set -euo pipefail

packages=(g++ cmake make libgl1-mesa-dev libglu1-mesa-dev freeglut3-dev libx11-dev)
if [ "${1:-build}" = "run" ]; then
  packages+=(xvfb x11-utils)
fi
if [ "${1:-build}" = "test" ]; then
  packages+=(libgtest-dev libbenchmark-dev xvfb x11-utils xdotool x11-apps imagemagick apitrace apitrace-tracers clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages; run: sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
