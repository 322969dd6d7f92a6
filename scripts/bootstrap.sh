#!/usr/bin/env bash
# Installs what the build and the tests need, with apt-get, only when something
# is missing. Quick when everything is there.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
have make || need+=(make)
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
have wine || need+=(wine)
[ -e /usr/lib/wine/wine64 ] || [ -e /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernel32.dll ] || need+=(wine64)
# Wine's own Tahoma, so that the window is laid out with the metrics it is made for.
[ -e /usr/share/wine/fonts/tahoma.ttf ] || need+=(fonts-wine)
# The real encoder, which the tests run the generated pass lines with.
have x264 || need+=(x264)
have xvfb-run || need+=(xvfb)
have xauth || need+=(xauth)
have python3 || need+=(python3)
# The locale sources, for a system whose code pages are UTF-8 in the Wine tests.
{ have localedef && [ -e /usr/share/i18n/locales/hi_IN ]; } || need+=(locales)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)

if [ ${#need[@]} -gt 0 ]; then
  echo "bootstrap: installing ${need[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${need[@]}"
fi
