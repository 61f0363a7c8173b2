#!/usr/bin/env bash
# Renders every window the program has to PNG files.
set -euo pipefail
build=$1 out=$2
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$build/bin/pellory-screenshots" "$out"
ls "$out"
