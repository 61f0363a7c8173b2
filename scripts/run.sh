#!/usr/bin/env bash
# Starts the built program; says how to get a display when there is none.
set -euo pipefail
build=$1
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "pellory: no display (DISPLAY is not set); run it under a virtual X server: xvfb-run -a make run" >&2
  exit 2
fi
# A catalogue of the machine's fonts is built on first run.
if [[ -f scripts/ensure-catalogue.sh ]]; then
  bash scripts/ensure-catalogue.sh "$build"
  # The user's own engine configuration wins; ours is used only without one.
  user_conf=${XDG_CONFIG_HOME:-$HOME/.config}/pellory/engine.conf
  if [[ -z "${PELLORY_ENGINE_CONFIG:-}" && ! -f "$user_conf" && ! -f /etc/pellory/engine.conf ]]; then
    export PELLORY_ENGINE_CONFIG="$(cd "$build/.." && pwd)/data/engine.conf"
  fi
fi
exec "$build/bin/pellory"
