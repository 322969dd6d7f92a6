#!/usr/bin/env bash
# Starts quorvel.exe from its own folder, so that the current directory and
# the program folder agree. Without a display it runs on a virtual one.
set -euo pipefail
cd "$1"
export WINEPREFIX="${WINEPREFIX:-$(pwd)/../../wineprefix}"
mkdir -p "$WINEPREFIX"
if [ -n "${DISPLAY:-}" ]; then
  exec wine quorvel.exe
else
  echo "no DISPLAY: running on a virtual X display"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine quorvel.exe
fi
