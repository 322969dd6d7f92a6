#!/usr/bin/env bash
# Runs the timings of the real window and the start-up benchmark (quorvel.exe
# against the floor its window sets) under Wine on a virtual X display.
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
  # As in the tests: Wine handles the windows itself (see wine_tests.sh).
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
  cd "'"$bin"'"
  wine quorvel_gui_bench.exe
  wine startup_bench.exe '"$runs"'
'
