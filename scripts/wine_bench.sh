#!/usr/bin/env bash
# Runs the start-up benchmark under Wine on a virtual X display (or on the
# display there is): quorvel.exe against the floor its window sets.
set -euo pipefail
bin="$(cd "$1" && pwd)"
runs="${2:-15}"
here="$(cd "$(dirname "$0")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$bin/../../wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$WINEPREFIX"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  "'"$here"'"/wine_prefix.sh
  cd "'"$bin"'"
  wine startup_bench.exe '"$runs"'
'
