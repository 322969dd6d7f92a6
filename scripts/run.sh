#!/usr/bin/env bash
# Starts quorvel.exe from its own folder, so that the current directory and
# the program folder agree. Without a display it runs on a virtual one.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$1"
export WINEPREFIX="${WINEPREFIX:-$(pwd)/../../wineprefix}"
mkdir -p "$WINEPREFIX"
if [ -n "${DISPLAY:-}" ]; then
  "$here/wine_prefix.sh"
  exec wine quorvel.exe
else
  echo "no DISPLAY: running on a virtual X display"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c '"$1/wine_prefix.sh" && exec wine quorvel.exe' run "$here"
fi
