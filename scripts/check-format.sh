#!/usr/bin/env bash
# Fails when a tracked C or C++ file differs from .clang-format, and names each such file.
# Run `clang-format -i FILE` to mend one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

mapfile -t files < <(git ls-files '*.h' '*.cpp' '*.c')
[ ${#files[@]} -gt 0 ] || { echo "check-format: no tracked sources found"; exit 1; }

# One clang-format run for the whole tree; each difference is reported as "file:line:col: error".
if report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
  echo "check-format: ${#files[@]} files follow .clang-format"
  exit 0
fi
differing=$(grep -oE '^[^:]+\.(h|cpp|c):[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u || true)
if [ -z "$differing" ]; then
  echo "check-format: clang-format could not check the tree:"
  echo "$report"
  exit 1
fi
echo "check-format: these files differ from .clang-format (clang-format -i FILE mends them):"
sed 's/^/  /' <<<"$differing"
exit 1
