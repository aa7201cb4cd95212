#!/usr/bin/env bash
# Starts ZEFTA.EXE under Wine. Without a display it runs on a virtual one,
# saves a screenshot of the main window and keeps running until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
exe=build/win32/bin/ZEFTA.EXE

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

wine "$exe" "$@" &
pid=$!

if [ -n "$virtual" ]; then
  shot=$PWD/build/zefta-main-window.png
  for i in $(seq 100); do
    xdotool search --name '^SORVEL$' >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1
  import -window root "$shot"
  echo "Screenshot of the main window: $shot"
  echo "The program keeps running; press Ctrl+C to end it."
fi
wait "$pid" || true
