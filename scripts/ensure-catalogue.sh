#!/usr/bin/env bash
# Makes sure the build has a catalogue and an engine configuration:
#   scripts/ensure-catalogue.sh BUILD_DIR      (e.g. build/release)
# Beside BUILD_DIR, in its parent's data/ folder: catalogue/pelloryfont.DB is
# built from the machine's fonts when missing, and engine.conf (naming the
# engine library in BUILD_DIR/bin and the alias "pellory") is written when
# missing. Existing files are left as they are.
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
data="$(dirname "$build")/data"
catalogue="$data/catalogue"
tool="$build/bin/pellory-mkcatalogue"

if [[ ! -f "$catalogue/pelloryfont.DB" ]]; then
  if [[ ! -x "$tool" ]]; then
    echo "ensure-catalogue: $tool is missing; build the tools first" >&2
    exit 1
  fi
  echo "ensure-catalogue: building the catalogue of this machine's fonts in $catalogue"
  "$tool" --quiet "$catalogue"
fi

conf="$data/engine.conf"
if [[ ! -f "$conf" ]]; then
  mkdir -p "$data"
  # Written to a scratch name first, so an interrupted run leaves no half file.
  printf '[engine]\nlibrary_dir = %s\n[alias pellory]\npath = %s\n' \
    "$build/bin" "$catalogue" >"$conf.partial"
  mv "$conf.partial" "$conf"
  echo "ensure-catalogue: wrote $conf"
fi
