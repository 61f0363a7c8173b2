#!/usr/bin/env bash
# Starts the built program; says how to get a display when there is none.
set -euo pipefail
build=$1
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "pellory: no display (DISPLAY is not set); run it under a virtual X server: xvfb-run -a make run" >&2
  exit 2
fi
# A catalogue of the machine's fonts is built on first run.
if [[ -f scripts/ensure-catalogue.sh ]]; then bash scripts/ensure-catalogue.sh "$build"; fi
exec "$build/bin/pellory"
