#!/usr/bin/env bash
# Builds everything and runs the whole test suite on a virtual display: once in the normal
# build, then once more in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
# Then each libFuzzer harness runs for a short while (VIEWERS_FUZZ_SECONDS, default 30).
# Usage: tools/test.sh [--quick]   (--quick: the normal build only, no fuzzing)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

quick=0
[ "${1:-}" = "--quick" ] && quick=1

tools/ensure-deps.sh test || exit 1

jobs=$(nproc)
failed_total=0
passed_total=0

run_suite() {  # name, build dir, extra cmake args...
  local name=$1 dir=$2
  shift 2
  echo "== $name build"
  cmake -S "$root" -B "$dir" -DVIEWERS_WERROR=ON "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j"$jobs" 2>&1 | grep -E 'error|warning|Error' ; test "${PIPESTATUS[0]}" -eq 0 || return 1
  echo "== $name tests"
  (cd "$dir" && env ${test_preload:+LD_PRELOAD=$test_preload} "$root/tools/with-display.sh" --virtual ctest --output-on-failure -j"$jobs" 2>&1) | tee "$dir.ctest.log"
  local status=${PIPESTATUS[0]}
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$dir.ctest.log" | tail -n1)
  if [ -n "$line" ]; then
    local failed total
    failed=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
    total=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
    passed_total=$((passed_total + total - failed))
    failed_total=$((failed_total + failed))
  fi
  return $status
}

mkdir -p build-test
status=0
test_preload=""
run_suite normal build-test/normal -DCMAKE_BUILD_TYPE=RelWithDebInfo || status=1

if [ $quick -eq 0 ]; then
  export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:abort_on_error=0"
  export LSAN_OPTIONS="suppressions=$root/tests/sanitizer-suppressions.txt:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  # Pin Mesa's driver so that its allocations keep a module name the suppressions can match.
  test_preload=/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so
  run_suite sanitizer build-test/sanitize \
    -DCMAKE_BUILD_TYPE=Debug -DVIEWERS_SANITIZE=ON -DVIEWERS_BENCH=OFF || status=1
fi

# A short fuzz run of each harness (libFuzzer needs clang); each harness counts as one test.
if [ $quick -eq 0 ]; then
  if command -v clang++ >/dev/null 2>&1; then
    echo "== fuzz smoke run (${VIEWERS_FUZZ_SECONDS:-30} s per harness)"
    VIEWERS_FUZZ_BUILD="$root/build-test/fuzz" VIEWERS_SEED_DIR="$root/build-test/normal/run" \
      tools/fuzz.sh "${VIEWERS_FUZZ_SECONDS:-30}" 2>&1 | tee build-test/fuzz.log
    for harness in obj_reader tga_reader board_search; do
      if grep -qE "^$harness: .* no findings$" build-test/fuzz.log \
         && ! grep -qE "^$harness: a kept regression input fails again" build-test/fuzz.log; then
        passed_total=$((passed_total + 1))
      else
        echo "fuzz $harness: FAILED (see build-test/fuzz.log and build-test/fuzz/$harness.log)"
        failed_total=$((failed_total + 1))
        status=1
      fi
    done
  else
    echo "== fuzz smoke run skipped: clang++ is missing (apt-get install -y clang libclang-rt-14-dev)"
  fi
fi

echo "$passed_total passed, $failed_total failed"
exit $status
