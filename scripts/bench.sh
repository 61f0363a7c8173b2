#!/usr/bin/env bash
# Runs every benchmark program that the build made.
set -euo pipefail
build=$1
shopt -s nullglob
for b in "$build"/bin/bench_*; do
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" --benchmark_min_time=0.2
done
