#!/usr/bin/env bash
# Starts quorvel.exe from its own folder, so that the current directory and
# the program folder agree. Without a display it runs on a virtual one.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$1"
export WINEPREFIX="${WINEPREFIX:-$(pwd)/../../wineprefix}"
mkdir -p "$WINEPREFIX"
[ -n "${LC_ALL:-}${LANG:-}" ] || export LANG=C.UTF-8
# Prepares the prefix and gives the windows back to the window manager (the
# tests let Wine handle them itself), on the display the program runs on.
start='"$1/wine_prefix.sh"
wine reg delete "HKCU\\Software\\Wine\\X11 Driver" /v Managed /f >/dev/null 2>&1 || true
exec wine quorvel.exe'
if [ -n "${DISPLAY:-}" ]; then
  exec bash -c "$start" run "$here"
else
  echo "no DISPLAY: running on a virtual X display"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$start" run "$here"
fi
