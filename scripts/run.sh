#!/usr/bin/env bash
# Builds and starts ZEFTA.EXE under Wine: the 32-bit build where this machine
# can run 32-bit programs, the 64-bit one otherwise (or with ZEFTA_WINE_ARCH=64).
# Without a display it runs on a virtual one, saves a screenshot of the main
# window and keeps running until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
zefta_choose_arch
preset=win$ZEFTA_ARCH
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
exe=build/$preset/bin/ZEFTA.EXE
echo "Starting the $ZEFTA_ARCH-bit build ($exe): $ZEFTA_ARCH_WHY."

virtual=
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  virtual=yes
  zefta_start_display own
  echo "No display here: ZEFTA runs on the virtual display $DISPLAY."
fi
trap zefta_stop_all EXIT
zefta_prepare_prefix
zefta_start_wineserver
zefta_window_frames ${virtual:+wine}

scripts/wine-run.sh "$exe" "$@" &
pid=$!

if [ -n "$virtual" ]; then
  shot=$PWD/build/zefta-main-window.png
  window=
  for i in $(seq 100); do
    window=$(xdotool search --name '^SORVEL$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.2
  done
  sleep 1
  # The window alone when it was found, else the whole virtual screen.
  import -window "${window:-root}" "$shot" 2>/dev/null || import -window root "$shot"
  echo "Screenshot of the main window: $shot"
  echo "The program keeps running; press Ctrl+C to end it."
fi
wait "$pid" || true
