#!/usr/bin/env bash
# Builds both presets and runs every test: native first (also under ASan and
# UBSan, and the fuzzers for a bounded time), then under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
# The tests keep their own Wine prefix: the settings and folders they leave
# behind never show up in the program that `make run` starts.
export WINEPREFIX=${WINEPREFIX:-$PWD/build/test-wineprefix}
source scripts/wine-env.sh

cmake --preset host >/dev/null
cmake --build --preset host -j"$(nproc)"
ctest --preset host

# The same native tests under ASan + UBSan: any report fails the run.
cmake --preset host-asan >/dev/null
cmake --build --preset host-asan -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset host-asan

bash scripts/fuzz.sh "${ZEFTA_FUZZ_SECONDS:-10}"

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"

trap zefta_stop_all EXIT
zefta_start_display own
zefta_prepare_prefix
zefta_start_wineserver
zefta_window_frames wine
ctest --preset win32
