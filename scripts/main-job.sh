#!/usr/bin/env bash
# Sets up a fresh machine, builds the instrument, installs the plug-in bundle and renders the bundled demo song
# into demo.wav (or the path given as the first argument).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/demo.wav}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$(nproc 2>/dev/null || echo 2)"
# Hosts (and corvane-render) find the plug-in in ~/.vst3.
cmake --build "$root/build" --target install-bundle
"$root/scripts/render-demo.sh" "$root/build/tools/corvane-render/corvane-render" "$out"
