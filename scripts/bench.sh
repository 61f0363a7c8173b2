#!/usr/bin/env bash
# Runs every benchmark the build registered (benchmarks.txt: one program and
# its arguments a line, written by bench/CMakeLists.txt), then prints one
# table of every goal they measured (their "goal | ..." lines).
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
goals=$(mktemp)
trap 'rm -rf "$runtime" "$goals"' EXIT
export XDG_RUNTIME_DIR=$runtime
status=0
while read -r program args; do
  [[ -z $program ]] && continue
  name=$(basename "$program")
  echo "== $name"
  # shellcheck disable=SC2206  # the arguments are split on purpose
  run=(env QT_QPA_PLATFORM=offscreen "$program" $args)
  # Start-up is measured on a display: offscreen an empty window loads no fonts.
  if [[ $name == bench_startup ]] && command -v xvfb-run >/dev/null; then
    run=(xvfb-run -a "$program" --display)
  fi
  if ! "${run[@]}" </dev/null | tee -a "$goals"; then
    echo "bench: $name failed" >&2
    echo "goal | $name | failed | - | MISSED" >>"$goals"
    status=1
  fi
done <"$list"
echo
echo "== Goals"
grep '^goal |' "$goals" | cut -d'|' -f2- | column -t -s'|' -N "measured,value,goal,result" || true
exit $status
