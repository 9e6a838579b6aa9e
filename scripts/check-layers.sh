#!/usr/bin/env bash
# Fails when a file includes from a layer above its own. The layers, lowest first:
#   synth/core, synth/pcm, presetfiles, host | gui, editor, plugin, tools
# host and gui are side by side and know nothing of each other; only the VST 3 shell, the
# editor, the GUI layer's vst3/ glue and the tools see the SDK; cairo and X11 stay in gui/
# and in the tools that open windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# folder: project folders its files may include from (besides its own), then
# "sdk" when it may include the VST 3 SDK and "window" when it may include cairo or X11.
rules=(
  "synth/core:"
  "synth/pcm:synth/core"
  "presetfiles:synth"
  "host:synth presetfiles"
  "gui/vst3:gui sdk window"
  "gui:window"
  "editor:synth host gui sdk window"
  "vst3sdk:sdk"
  "plugin:synth host gui editor sdk"
  "tools:synth presetfiles host gui editor plugin sdk window"
)

# The folder a path's own include belongs to: its first path component, or two for synth/
# and gui/vst3.
project_folder() {
  case $1 in
    synth/core/*) echo synth/core ;;
    synth/pcm/*) echo synth/pcm ;;
    synth/*) echo synth ;;
    gui/vst3/*) echo gui/vst3 ;;
    *) echo "${1%%/*}" ;;
  esac
}

allowed() {  # allowed RULE_LIST INCLUDED_FOLDER
  local list=" $1 " folder=$2
  [[ $list == *" $folder "* ]] && return 0
  # "synth" admits both engine folders; "gui" admits gui/vst3 only for folders that see the SDK.
  [[ $folder == synth/* && $list == *" synth "* ]] && return 0
  [[ $folder == gui/vst3 && $list == *" gui "* && $list == *" sdk "* ]] && return 0
  return 1
}

status=0
for rule in "${rules[@]}"; do
  dir=${rule%%:*}
  list=${rule#*:}
  while IFS= read -r file; do
    # gui/vst3 has a rule of its own; gui's rule does not cover it.
    [[ $dir == gui && $file == gui/vst3/* ]] && continue
    own=$(project_folder "$file")
    while IFS= read -r line; do
      [[ $line =~ include[[:space:]]*[\<\"]([^\>\"]+) ]] || continue
      inc=${BASH_REMATCH[1]}
      case $inc in
        pluginterfaces/* | public.sdk/* | base/*)
          allowed "$list" sdk || { echo "$file: includes the SDK ($inc)"; status=1; } ;;
        cairo* | X11/* | xcb/* | fontconfig/*)
          allowed "$list" window || { echo "$file: includes a window system header ($inc)"; status=1; } ;;
        synth/* | presetfiles/* | host/* | gui/* | editor/* | plugin/* | tools/* | vst3sdk/*)
          case $inc in
            synth/core/*) target=synth/core ;;
            synth/pcm/*) target=synth/pcm ;;
            gui/vst3/*) target=gui/vst3 ;;
            *) target=${inc%%/*} ;;
          esac
          [[ $target == "$own" || $target == "$dir" ]] && continue
          [[ $dir == synth/pcm && $target == synth/core ]] && continue
          allowed "$list" "$target" || { echo "$file: includes $inc from a layer above or beside its own"; status=1; } ;;
      esac
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  done < <(git ls-files "$dir" | grep -E '\.(h|cpp)$')
done
[ $status -eq 0 ] && echo "check-layers: every include points down"
exit $status
