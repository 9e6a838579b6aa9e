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
  LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0 \
  run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_BENCH=OFF

# The stress test once more under ThreadSanitizer: only what it needs is built.
run_step() {
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $name"
    failed=$((failed + 1))
  fi
}
cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TSAN=ON \
  -DCORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-tsan" -j "$jobs" --target stress_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_step "stress test under ThreadSanitizer" \
  "$root/build-tsan/tests/stress/stress_tests"

# Every fuzzer for a bounded time (FUZZ_SECONDS, default 60), with ASan and UBSan.
run_step "fuzzers" "$root/scripts/run-fuzzers.sh" "${FUZZ_SECONDS:-60}"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
