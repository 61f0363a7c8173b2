#!/usr/bin/env bash
# Configures a build tree: scripts/configure.sh SOURCE BUILD_DIR [cmake options...]
# A new tree is made for Ninja where it is installed; a tree already
# configured keeps the generator it was made with (CMake refuses to switch).
set -euo pipefail
src=$1 dir=$2
shift 2
generator=()
if [[ ! -f $dir/CMakeCache.txt ]] && command -v ninja >/dev/null; then
  generator=(-G Ninja)
fi
exec cmake -S "$src" -B "$dir" "${generator[@]}" "$@"
