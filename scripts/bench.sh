#!/usr/bin/env bash
# Runs every benchmark the build registered (benchmarks.txt: one program and
# its arguments a line, written by bench/CMakeLists.txt).
set -euo pipefail
build=$1
list=$build/benchmarks.txt
if [[ ! -f $list ]]; then
  echo "bench: $list is missing; configure with -DPELLORY_BENCH=ON" >&2
  exit 1
fi
# A runtime directory of its own, so that a running copy of the program
# does not make the started ones stand down as second copies.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
status=0
while read -r program args; do
  [[ -z $program ]] && continue
  echo "== $(basename "$program")"
  # shellcheck disable=SC2086  # the arguments are split on purpose
  QT_QPA_PLATFORM=offscreen "$program" $args </dev/null || { echo "bench: $(basename "$program") failed" >&2; status=1; }
done <"$list"
exit $status
