#!/usr/bin/env bash
# Runs the Windows test programs under Wine on a virtual X display.
# V=1 shows the output of every test, its [ MEASURE  ] lines among it.
set -euo pipefail
build="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$build/../wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH="${WINEARCH:-win64}"
# UTF-8 file names whatever the caller's locale; the Windows code pages of
# this locale are 1252 and 437.
export LC_ALL=C.UTF-8
verbose=""
[ -n "${V:-}" ] && verbose="-V"
mkdir -p "$WINEPREFIX"
# A locale whose Windows code pages are UTF-8 (Wine takes them from hi_IN),
# kept in the build folder: the tests of a UTF-8 system run with it.
mkdir -p "$build/locale"
[ -e "$build/locale/hi_IN.UTF-8" ] ||
  localedef -i hi_IN -c -f UTF-8 "$build/locale/hi_IN.UTF-8" >/dev/null 2>&1 || true
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  set -e
  wineserver -p 60 || true
  "'"$here"'"/wine_prefix.sh
  # Without a window manager, Wine waits two seconds for one to let go of
  # each window it manages when the window is destroyed: the tests let Wine
  # handle their windows itself. (scripts/run.sh gives them back to the
  # window manager.)
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
  cd "'"$build"'"
  status=0
  # Two suites at a time, each in a lane of its own.
  ctest --output-on-failure '"$verbose"' -j2 --resource-spec-file "'"$here"'/../tests/gui/lanes.json" || status=$?
  wineserver -k >/dev/null 2>&1 || true
  exit $status
'
