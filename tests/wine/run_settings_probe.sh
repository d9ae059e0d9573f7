#!/usr/bin/env bash
# Runs settings_probe.exe under Wine: its artefacts land in the output folder.
#   run_settings_probe.sh <settings_probe.exe> <output folder>
set -euo pipefail
probe=$1
out=$2
if [ ! -f "$probe" ]; then
  echo "no $probe: build the release tree first (cmake/mingw-w64-x86_64.cmake)" >&2
  exit 1
fi
export WINEDEBUG=-all
# The prefix is made by the wine.Prefix test, which this one requires.
export WINEPREFIX="${WINEPREFIX:-$HOME/.cache/zentravisor/wineprefix}"
rm -rf "$out"
mkdir -p "$(dirname "$out")"
# Wine sees the host root as drive Z:.
wine "$probe" "Z:${out//\//\\}" | tr -d '\r'
