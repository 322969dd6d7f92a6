#!/usr/bin/env bash
# Runs the Windows test programs under Wine on a virtual X display.
set -euo pipefail
build="$(cd "$1" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$build/../wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH="${WINEARCH:-win64}"
mkdir -p "$WINEPREFIX"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  set -e
  wineboot -i >/dev/null 2>&1 || true
  wineserver -p 60 || true
  # A crashing test must fail, not wait in the debugger.
  wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Debugger /d "" /f >/dev/null 2>&1 || true
  wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Auto /d 0 /f >/dev/null 2>&1 || true
  cd "'"$build"'"
  status=0
  ctest --output-on-failure || status=$?
  wineserver -k >/dev/null 2>&1 || true
  exit $status
'
