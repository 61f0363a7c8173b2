#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from what clang-format (with
# the root .clang-format) makes of it; names each such file.
#   scripts/check-format.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
mapfile -d '' files < <(find . \( -path ./.git -o -path './build*' -o -name corpus \) -prune -o \
  -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
# One run for all files; each difference is reported as FILE:LINE:COL: error.
report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1) && status=0 || status=$?
mapfile -t bad < <(grep -oE '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u)
if ((status != 0 || ${#bad[@]})); then
  if ((${#bad[@]})); then printf 'not formatted: %s\n' "${bad[@]#./}"; else printf '%s\n' "$report"; fi
  echo "format check: ${#bad[@]} of ${#files[@]} files differ; run clang-format -i on them"
  exit 1
fi
echo "format check: ${#files[@]} files formatted"
