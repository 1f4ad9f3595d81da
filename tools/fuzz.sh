#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, ASan + UBSan) and runs each of them.
#   tools/fuzz.sh            a smoke run: about 30 seconds per harness
#   tools/fuzz.sh 3600       a long campaign: an hour per harness
# Seeds: fuzz/corpus/<harness>/ plus the generated data files when a normal build has made them.
# Every input ever found to fail is kept in fuzz/regressions/<harness>/ and replayed first.
# The work corpus grows in build-fuzz/corpus/<harness>/ (not committed).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-30}
build=${VIEWERS_FUZZ_BUILD:-$root/build-fuzz}

if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ is missing: apt-get install -y clang libclang-rt-14-dev" >&2
  exit 1
fi

mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DVIEWERS_FUZZ=ON -DVIEWERS_WERROR=ON \
  -DCMAKE_BUILD_TYPE=Debug >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" 2>&1 | grep -E 'error|warning' ; test "${PIPESTATUS[0]}" -eq 0 || exit 1

# Generated data files (from a normal build's run folder) make good seeds: VIEWERS_SEED_DIR, or
# the first run folder that holds them.
generated=""
for dir in ${VIEWERS_SEED_DIR:-} "$root/build/run" "$root/build-test/normal/run" "$root"/build-*/run; do
  [ -f "$dir/maze2.obj" ] && generated="$dir" && break
done

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
for harness in obj_reader tga_reader board_search; do
  corpus="$build/corpus/$harness"
  mkdir -p "$corpus" "$root/fuzz/regressions/$harness"
  cp -n "$root/fuzz/corpus/$harness"/* "$corpus"/ 2>/dev/null
  if [ -n "$generated" ]; then
    case $harness in
      obj_reader) cp -n "$generated"/maze*.obj "$corpus"/ 2>/dev/null ;;
      # The board harness runs a few hundred times slower per byte: the smallest maze only.
      board_search) cp -n "$generated"/maze2.obj "$corpus"/ 2>/dev/null ;;
      tga_reader) cp -n "$generated"/*.tga "$corpus"/ 2>/dev/null ;;
    esac
  fi
  dict=""
  [ $harness != tga_reader ] && dict="-dict=$root/fuzz/obj.dict"

  # Replay the regressions first: each must run clean.
  if ls "$root/fuzz/regressions/$harness"/* >/dev/null 2>&1; then
    if ! "$build/fuzz/${harness}_fuzz" "$root/fuzz/regressions/$harness"/* >"$build/$harness.replay.log" 2>&1; then
      echo "$harness: a kept regression input fails again"; tail -n 30 "$build/$harness.replay.log"; status=1
    fi
  fi

  log="$build/$harness.log"
  "$build/fuzz/${harness}_fuzz" "$corpus" $dict -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=3000 -malloc_limit_mb=5000 -print_final_stats=1 -artifact_prefix="$build/crash-$harness-" >"$log" 2>&1
  result=$?
  runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
  if [ $result -ne 0 ]; then
    echo "$harness: FAILED after ${runs:-?} executions"; grep -E 'ERROR|runtime error|SUMMARY' "$log" | head -5
    ls "$build"/crash-$harness-* 2>/dev/null
    status=1
  else
    echo "$harness: ${runs:-?} executions in ${seconds} s, no findings"
  fi
done
exit $status
