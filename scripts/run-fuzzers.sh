#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz, writes their seed corpora and runs
# every fuzzer for SECONDS (default 60). Prints one line per fuzzer; exits non-zero when
# any fuzzer found a crash (its files stay in build-fuzz/crashes/<fuzzer>/). Installs
# nothing: scripts/install-deps.sh brings clang and its fuzzer runtime.
set -uo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
fuzzers=(fuzz_wav_import fuzz_text_import fuzz_state_restore fuzz_sysex fuzz_midi_file fuzz_messages fuzz_host_process)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_BUILD_FUZZERS=ON -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF >/dev/null || exit 2
cmake --build "$build" -j2 --target corvane_fuzzers >"$build/fuzz-build.log" 2>&1 || {
  tail -n 30 "$build/fuzz-build.log"
  exit 2
}
"$build/fuzz/make_seeds" "$build/seeds" >/dev/null || exit 2

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0

found=0
for name in "${fuzzers[@]}"; do
  corpus=$build/corpus/$name
  crashes=$build/crashes/$name
  scratch=$build/tmp/$name
  log=$build/logs/$name.log
  mkdir -p "$corpus" "$crashes" "$scratch" "$(dirname "$log")"
  # The processor fuzzers make their temporary folders under TMPDIR: keep them in the tree.
  TMPDIR=$scratch "$build/fuzz/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "$build/seeds/$name" >"$log" 2>&1
  status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  if [ "$status" -eq 0 ]; then
    result="ok"
  else
    found=1
    artifact=$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)
    result="CRASH (exit $status) ${artifact:-see $log}"
  fi
  printf '%-20s %12s execs %8s/s  %s\n' "$name" "${execs:-?}" "${rate:-?}" "$result"
done
exit "$found"
