#!/usr/bin/env bash
# Builds the VST 3 SDK's validator and editorhost from a local SDK checkout (with its
# submodules base, cmake, pluginterfaces and public.sdk in place) and runs the validator on
# the plug-in bundle, in standard and in extensive mode. Downloads nothing.
#
#   scripts/run-validator.sh SDK_DIR [BUNDLE]
#
# BUNDLE defaults to the bundle of build/ in this tree. The SDK is built in
# $VALIDATOR_BUILD_DIR (default ${TMPDIR:-/tmp}/corvane-vst3sdk-build), outside the
# repository. editorhost needs gtkmm-3.0 (Debian libgtkmm-3.0-dev); without it only the
# validator is built. Prints each mode's pass/fail counts and failing tests; exits 0 when
# both runs finished, 1 when a test failed, 2 when nothing could be run.
set -uo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 SDK_DIR [BUNDLE]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
sdk=$(cd "$1" 2>/dev/null && pwd) || { echo "run-validator: no directory $1" >&2; exit 2; }
bundle=${2:-"$root/build/plugin/Corvane Synth PCM.vst3"}
build=${VALIDATOR_BUILD_DIR:-${TMPDIR:-/tmp}/corvane-vst3sdk-build}

for part in pluginterfaces/base/funknown.h base/source/fobject.h public.sdk/samples/vst-hosting/validator \
  cmake/modules/SMTG_VST3_SDK.cmake; do
  if [ ! -e "$sdk/$part" ]; then
    echo "run-validator: $sdk is not an SDK checkout with its submodules ($part missing)" >&2
    exit 2
  fi
done
case "$build" in
  "$root"|"$root"/*) echo "run-validator: the build directory must lie outside the repository" >&2; exit 2 ;;
esac
if [ ! -d "$bundle" ]; then
  echo "run-validator: no bundle at $bundle (build the corvane_vst3 target first)" >&2
  exit 2
fi

targets=(validator)
if pkg-config --exists gtkmm-3.0 2>/dev/null; then
  targets+=(editorhost)
else
  echo "run-validator: gtkmm-3.0 not found, editorhost is not built" >&2
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
mkdir -p "$build"
cmake -S "$sdk" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSMTG_ENABLE_VSTGUI_SUPPORT=OFF \
  -DSMTG_ENABLE_VST3_PLUGIN_EXAMPLES=OFF "${launcher[@]}" >"$build/configure.log" 2>&1 || {
  tail -n 30 "$build/configure.log"
  exit 2
}
# Building the validator also runs its self test, which needs no plug-in.
ninja -C "$build" -j2 "${targets[@]}" >"$build/build.log" 2>&1 || {
  grep -E "error|FAILED" "$build/build.log" | head -n 30
  exit 2
}
validator=$(find "$build/bin" -type f -name validator | head -n 1)
[ -x "$validator" ] || { echo "run-validator: validator not built" >&2; exit 2; }
editorhost=$(find "$build/bin" -type f -name editorhost | head -n 1)
[ -n "$editorhost" ] && echo "editorhost: $editorhost"

status=0
for mode in standard extensive; do
  log=$build/validator-$mode.log
  args=()
  [ "$mode" = extensive ] && args=(-e)
  "$validator" "${args[@]}" "$bundle" >"$log" 2>&1
  rc=$?
  result=$(grep -E "^Result: " "$log" | tail -n 1)
  if [ -z "$result" ]; then
    echo "$mode: the validator stopped without a result (status $rc); see $log"
    status=2
    continue
  fi
  echo "$mode: ${result#Result: }"
  awk '/^\[[A-Za-z]/ && !/Failed\]|Succeeded\]/ {name = $0} /Failed\]/ {print "  failed: " name}' "$log"
  [ "$rc" -ne 0 ] && [ "$status" -eq 0 ] && status=1
done
exit "$status"
