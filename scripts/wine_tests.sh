#!/usr/bin/env bash
# Runs the Windows test programs under Wine on a virtual X display.
set -euo pipefail
build="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$build/../wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH="${WINEARCH:-win64}"
mkdir -p "$WINEPREFIX"
# A locale whose Windows code pages are UTF-8 (Wine takes them from hi_IN),
# kept in the build folder: the tests of a UTF-8 system run with it.
[ -e "$build/locale/hi_IN.UTF-8" ] ||
  localedef -i hi_IN -c -f UTF-8 "$build/locale/hi_IN.UTF-8" >/dev/null 2>&1 || true
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  set -e
  wineserver -p 60 || true
  "'"$here"'"/wine_prefix.sh
  cd "'"$build"'"
  status=0
  ctest --output-on-failure || status=$?
  wineserver -k >/dev/null 2>&1 || true
  exit $status
'
