#!/usr/bin/env bash
# Runs the Wine test program of the lane ctest handed this test (one of the
# folders lane1, lane2 of the build folder, see cmake/windows.cmake), with
# the arguments given. usage: in_lane.sh BUILD ARGUMENTS...
set -euo pipefail
build="$1"
shift
lane=1
# "id:2,slots:1"
if [ -n "${CTEST_RESOURCE_GROUP_0_LANES:-}" ]; then
  lane="${CTEST_RESOURCE_GROUP_0_LANES#id:}"
  lane="${lane%%,*}"
fi
cd "$build/lane$lane"
exec wine ./quorvel_gui_tests.exe "$@"
