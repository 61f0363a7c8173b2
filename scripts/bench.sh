#!/usr/bin/env bash
# Runs every benchmark program that the build made (programs that are no
# Google Benchmark ignore its --benchmark_ options), then prints one table of
# every goal they measured (their "goal | ..." lines).
set -uo pipefail
build=$1
shopt -s nullglob
goals=$(mktemp)
trap 'rm -f "$goals"' EXIT
status=0
for b in "$build"/bin/bench_*; do
  name=$(basename "$b")
  echo "== $name"
  run=(env QT_QPA_PLATFORM=offscreen "$b" --benchmark_min_time=0.2)
  # Start-up is measured on a display: offscreen an empty window loads no fonts.
  if [[ $name == bench_startup ]] && command -v xvfb-run >/dev/null; then
    run=(xvfb-run -a "$b" --display)
  fi
  if ! "${run[@]}" | tee -a "$goals"; then
    echo "goal | $name | failed | - | MISSED" >>"$goals"
    status=1
  fi
done
echo
echo "== Goals"
grep '^goal |' "$goals" | cut -d'|' -f2- | column -t -s'|' -N "measured,value,goal,result"
exit $status
