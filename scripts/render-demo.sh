#!/bin/sh
# Renders the bundled demo song with the demo samples through corvane-render, which
# drives the installed plug-in bundle (~/.vst3) as a host would.
# Usage: scripts/render-demo.sh [RENDERER] [OUT.wav] [OPTION...]
#   RENDERER  defaults to build/tools/corvane-render/corvane-render (under the repository)
#   OUT.wav   defaults to demo.wav in the current directory
#   OPTION    further corvane-render options, e.g. --engine or --plugin BUNDLE
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
renderer=${1:-$root/build/tools/corvane-render/corvane-render}
out=${2:-demo.wav}
[ $# -gt 2 ] && shift 2 || set --
demo=$root/resources/demo

if [ ! -x "$renderer" ]; then
  echo "render-demo.sh: no renderer at $renderer (build the corvane-render target)" >&2
  exit 1
fi

# SysEx reception is off in a new engine and the song sets its presets by SysEx.
# The WAV imports come first: each resets its slot's points, which the
# sample-data lines then set.
exec "$renderer" "$@" --sysex \
  --wav 0="$demo/epiano.wav" \
  --wav 1="$demo/bass.wav" \
  --wav 2="$demo/pad.wav" \
  --wav 3="$demo/lead.wav" \
  --wav 8="$demo/kick.wav:dpcm" \
  --wav 9="$demo/snare.wav" \
  --wav 10="$demo/hat-closed.wav" \
  --wav 11="$demo/hat-open.wav" \
  --wav 12="$demo/clap.wav" \
  --wav 13="$demo/tom.wav" \
  --samples "$demo/demo-samples.txt" \
  "$demo/demo-song.mid" "$out"
