#!/usr/bin/env bash
# Builds both presets and runs every test: native first, then under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

cmake --preset host >/dev/null
cmake --build --preset host -j"$(nproc)"
ctest --preset host

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"

trap zefta_stop_all EXIT
zefta_start_display own
zefta_prepare_prefix
zefta_start_wineserver
ctest --preset win32
