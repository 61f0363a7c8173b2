#!/usr/bin/env bash
# build: configure and build the libFuzzer targets with clang.
# smoke: build them, then run each for FUZZ_SECONDS (default 30) on a copy of
#        its seed corpus in fuzz/corpus/<target>/; a crash fails the run.
set -euo pipefail
mode=${1:-build}
BUILD=${BUILD:-build}
JOBS=${JOBS:-$(nproc)}
dir=$BUILD/fuzz
CC=clang CXX=clang++ bash scripts/configure.sh . "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELLORY_GUI=OFF -DPELLORY_BENCH=OFF -DPELLORY_FUZZ=ON ${LAUNCHER:-} >/dev/null
cmake --build "$dir" --target fuzz_targets -j"$JOBS"
[[ $mode == smoke ]] || exit 0

shopt -s nullglob
targets=("$dir"/bin/fuzz_*)
if ((${#targets[@]} == 0)); then
  echo "fuzz: no targets built yet"
  exit 0
fi
# One target's run: its report in $work/report, its faults as files in $work.
fuzz_one() { # target work
  local t=$1 work=$2 name
  name=$(basename "$t")
  [[ -d fuzz/corpus/$name ]] && cp -r fuzz/corpus/"$name"/. "$work"/
  # Seeds made at build time from Debian's fonts (fuzz_face).
  [[ -d $dir/fuzz-seeds/$name ]] && cp -r "$dir/fuzz-seeds/$name"/. "$work"/
  {
    echo "fuzz: $name for ${FUZZ_SECONDS:-30} s"
    "$t" -max_total_time="${FUZZ_SECONDS:-30}" -print_final_stats=1 -artifact_prefix="$work/" \
      "$work" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true
  } >"$work.report"
}

# The targets run $JOBS at a time, each on a core of its own.
declare -A works
for t in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= JOBS)); do wait -n || true; done
  works[$t]=$(mktemp -d)
  fuzz_one "$t" "${works[$t]}" &
done
wait
status=0
for t in "${targets[@]}"; do
  work=${works[$t]}
  cat "$work.report"
  rm -f "$work.report"
  if compgen -G "$work/crash-*" >/dev/null || compgen -G "$work/leak-*" >/dev/null ||
     compgen -G "$work/timeout-*" >/dev/null || compgen -G "$work/oom-*" >/dev/null; then
    echo "fuzz: $(basename "$t") found a fault; inputs kept in $work" >&2
    status=1
  else
    rm -rf "$work"
  fi
done
exit $status
