#!/usr/bin/env bash
# Builds everything and runs the whole test suite twice: an optimised build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

"$root/scripts/install-deps.sh"

passed=0
failed=0
run_suite() {
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  local log="$dir/ctest.log"
  local status=0
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" 2>&1 | tee "$log" || status=1
  local summary
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -n 1 || true)
  if [ -z "$summary" ]; then
    failed=$((failed + 1))
    return
  fi
  local total fail
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
  fail=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - fail))
  failed=$((failed + fail))
  [ "$status" -eq 0 ] || [ "$fail" -gt 0 ] || failed=$((failed + 1))
}

run_suite "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_BENCH=OFF

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
