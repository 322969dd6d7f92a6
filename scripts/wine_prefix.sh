#!/usr/bin/env bash
# Prepares the Wine prefix named by WINEPREFIX: creates it, lets a crashing
# program end instead of waiting in the debugger, and installs Wine's own
# Tahoma, the font the window is laid out for.
set -u
wineboot -i >/dev/null 2>&1 || true
wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Debugger /d "" /f >/dev/null 2>&1 || true
wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" /v Auto /d 0 /f >/dev/null 2>&1 || true
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d "$fonts" ]; then
  for font in /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf; do
    [ -e "$font" ] && [ ! -e "$fonts/$(basename "$font")" ] && cp "$font" "$fonts/"
  done
fi
exit 0
