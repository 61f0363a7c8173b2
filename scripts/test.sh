#!/usr/bin/env bash
# Runs the whole suite: the Release build's tests (GUI ones offscreen), then
# the non-GUI tests again under AddressSanitizer and UBSan, then each fuzz
# target briefly on its seed corpus. Exits non-zero on any failure.
set -uo pipefail
BUILD=${BUILD:-build}
JOBS=${JOBS:-$(nproc)}
WERROR=${WERROR:-OFF}
export QT_QPA_PLATFORM=offscreen
passed=0 failed=0 status=0
failures=()
# Where the time goes: each stage says how long it took.
stage_start=$SECONDS
stage_done() { # label
  echo "== $1 took $((SECONDS - stage_start)) s"
  stage_start=$SECONDS
}

run_ctest() { # dir label
  local log counts
  log=$(mktemp)
  # A program's report from an earlier run must not count for this one.
  rm -rf "$1/test-results"
  (cd "$1" && ctest --output-on-failure -j"$JOBS" --timeout 600) 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  counts=$(python3 scripts/count-tests.py "$log" "$1/test-results")
  passed=$((passed + $(sed -n 's/^passed //p' <<<"$counts")))
  failed=$((failed + $(sed -n 's/^failed //p' <<<"$counts")))
  while IFS= read -r name; do failures+=("$2: $name"); done < <(tail -n +3 <<<"$counts")
  rm -f "$log"
  [[ $rc -eq 0 ]] || { echo "test: $2 tests failed" >&2; status=1; }
}

echo "== Release build tests"
run_ctest "$BUILD/release" release
stage_done "Release build tests"

echo "== Sanitizer build (AddressSanitizer + UBSan) of the non-GUI tests"
asan=$BUILD/asan
# -O1 with line tables only: what the sanitizers need for their reports,
# at about half the compile time of -O2 with full debug information.
if bash scripts/configure.sh . "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
     -DPELLORY_GUI=OFF \
     -DPELLORY_SANITIZE=ON -DPELLORY_BENCH=OFF -DPELLORY_WERROR="$WERROR" ${LAUNCHER:-} >/dev/null &&
   cmake --build "$asan" -j"$JOBS"; then
  stage_done "sanitizer build"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_ctest "$asan" sanitizer
else
  echo "test: sanitizer build failed" >&2; status=1
fi
stage_done "sanitizer tests"

echo "== Fuzz targets, briefly on their seed corpora"
if BUILD=$BUILD JOBS=$JOBS bash scripts/fuzz.sh smoke; then
  :
else
  echo "test: a fuzz target found a fault" >&2; status=1
fi
stage_done "fuzz build and runs"

# The failures again at the end, where a truncated log still shows them.
for f in "${failures[@]}"; do echo "failed: $f"; done
echo "total: $passed passed, $failed failed"
exit $status
