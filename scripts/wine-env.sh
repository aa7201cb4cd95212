# Sourced by the run and test scripts: a virtual display when there is none,
# the Wine prefix inside the build tree, and one wineserver for the whole run.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
ZEFTA_XVFB_PID=

# zefta_start_display [own]: with "own", always a fresh virtual display.
zefta_start_display() {
  if [ "${1:-}" != own ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 130); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    ZEFTA_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do
      [ -e /tmp/.X11-unix/X$n ] && return 0
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

zefta_prepare_prefix() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "preparing the Wine prefix in $WINEPREFIX (first run only)"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  if [ ! -f "$WINEPREFIX/.zefta-fonts" ]; then
    # The Japanese faces the windows ask for, served by the IPA fonts.
    local face
    for face in "ＭＳ ゴシック" "ＭＳ 明朝" "MS UI Gothic" "MS Shell Dlg"; do
      case $face in *明朝*) target="IPAMincho" ;; *) target="IPAGothic" ;; esac
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "$target" /f >/dev/null 2>&1 || true
    done
    wineserver -w
    touch "$WINEPREFIX/.zefta-fonts"
  fi
}

# One wineserver for the whole run, with the prefix's services already up:
# a service started by a test would inherit the test's output and keep the
# test runner waiting for it.
# On a display of our own there is no window manager: Wine then draws the
# captions and borders itself, so screenshots show them. On a user's desktop
# the window manager does it.
zefta_window_frames() {
  local key='HKCU\Software\Wine\X11 Driver'
  if [ "${1:-}" = wine ]; then
    [ -f "$WINEPREFIX/.zefta-frames" ] && return 0
    wine reg add "$key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.zefta-frames"
  else
    [ -f "$WINEPREFIX/.zefta-frames" ] || return 0
    wine reg delete "$key" /v Managed /f >/dev/null 2>&1 || true
    rm -f "$WINEPREFIX/.zefta-frames"
  fi
}

zefta_start_wineserver() {
  wineserver -p >/dev/null 2>&1 || true
  wineboot >/dev/null 2>&1 </dev/null || true
}

zefta_stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$ZEFTA_XVFB_PID" ] && kill "$ZEFTA_XVFB_PID" 2>/dev/null || true
}
