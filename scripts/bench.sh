#!/usr/bin/env bash
# Runs every benchmark program that the build made.
set -euo pipefail
build=$1
shopt -s nullglob
# A runtime directory of its own, so that a running copy of the program
# does not make the started ones stand down as second copies.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
for b in "$build"/bin/bench_*; do
  echo "== $(basename "$b")"
  XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen "$b" --benchmark_min_time=0.2
done
