# Sourced by the run, test and benchmark scripts: which Windows build runs on
# this machine, a virtual display when there is none, the Wine prefix inside
# the build tree, and one wineserver for the whole run.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
ZEFTA_XVFB_PID=
ZEFTA_WINE32=/usr/lib/wine/wine
ZEFTA_WINE64=/usr/lib/wine/wine64

# Which build runs here: ZEFTA_ARCH (32 or 64) and ZEFTA_ARCH_WHY, one line.
# The 32-bit build wherever this machine can start a 32-bit program (asked by
# starting Wine's 32-bit loader, not guessed), else the 64-bit build under
# Wine's 64-bit loader. ZEFTA_WINE_ARCH=64 takes the 64-bit path anyway.
# Unless WINEPREFIX is given, the prefix is build/<ZEFTA_PREFIX_NAME>, with
# "-64" on the 64-bit path: a prefix that Wine's 64-bit loader made alone
# lacks the 32-bit half that the other path needs.
zefta_choose_arch() {
  zefta_pick_arch || return 1
  if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$here/build/${ZEFTA_PREFIX_NAME:-wineprefix}
    [ "$ZEFTA_ARCH" = 64 ] && WINEPREFIX=$WINEPREFIX-64
    export WINEPREFIX
  fi
  return 0
}

zefta_pick_arch() {
  case ${ZEFTA_WINE_ARCH:-auto} in
    64)
      ZEFTA_ARCH=64
      ZEFTA_ARCH_WHY="ZEFTA_WINE_ARCH=64 asks for it"
      return 0
      ;;
    32 | auto | "") ;;
    *)
      echo "ZEFTA_WINE_ARCH is 32, 64 or unset, not '$ZEFTA_WINE_ARCH'" >&2
      return 1
      ;;
  esac
  local answer
  # In a shell of its own with the C locale, so that a refusal reads the same everywhere.
  if answer=$(LC_ALL=C LANG=C bash -c '"$0" --version' "$ZEFTA_WINE32" 2>&1); then
    ZEFTA_ARCH=32
    ZEFTA_ARCH_WHY="this machine runs 32-bit programs ($ZEFTA_WINE32 --version: $answer)"
    return 0
  fi
  answer=$(echo "$answer" | tail -n 1)
  answer="starting $ZEFTA_WINE32: ${answer##*: }"
  if [ "${ZEFTA_WINE_ARCH:-}" = 32 ]; then
    echo "ZEFTA_WINE_ARCH=32, but this machine cannot run 32-bit programs: ${answer:-no answer}" >&2
    return 1
  fi
  ZEFTA_ARCH=64
  ZEFTA_ARCH_WHY="this machine cannot run 32-bit programs ($answer)"
}

# Wine's own tools (wineboot, reg) through the loader of the chosen build.
zefta_wine() {
  [ -n "${ZEFTA_ARCH:-}" ] || zefta_choose_arch || return 1
  if [ "$ZEFTA_ARCH" = 64 ]; then
    WINELOADER=$ZEFTA_WINE64 "$ZEFTA_WINE64" "$@"
  else
    "$ZEFTA_WINE32" "$@"
  fi
}

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
    zefta_wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  if [ ! -f "$WINEPREFIX/.zefta-fonts-ume" ]; then
    # The Japanese faces the windows ask for, served by the Ume fonts, which
    # keep the cell and the underscore of the faces they stand in for: the
    # underscore on the cell's last row, one pixel or more thick (IPA Gothic's
    # is a hairline between two pixel rows and draws nothing at 12 and 16
    # pixels, the sizes of the program's 9 and 12 points). Its C4 cut shows
    # the backslash as the yen sign, as the Japanese system font does.
    local face target
    for face in "ＭＳ ゴシック" "ＭＳ 明朝" "MS UI Gothic" "MS Shell Dlg"; do
      case $face in
        *明朝*) target="Ume Mincho" ;;
        "ＭＳ ゴシック") target="Ume Gothic C4" ;;
        *) target="Ume UI Gothic" ;;
      esac
      zefta_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "$target" /f >/dev/null 2>&1 || true
    done
    wineserver -w
    touch "$WINEPREFIX/.zefta-fonts-ume"
  fi
  # Debian's Wine does not load the fonts it ships in /usr/share/wine/fonts,
  # so the face "Marlett" falls to the locale's default face, and the caption
  # buttons, drawn as Marlett's "0", "1" and "r", show those characters. A
  # copy in the prefix's Fonts folder is loaded like any Windows font.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

# On a display of our own there is no window manager: Wine then draws the
# captions and borders itself, so screenshots show them. On a user's desktop
# the window manager does it.
zefta_window_frames() {
  local key='HKCU\Software\Wine\X11 Driver'
  if [ "${1:-}" = wine ]; then
    [ -f "$WINEPREFIX/.zefta-frames" ] && return 0
    zefta_wine reg add "$key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.zefta-frames"
  else
    [ -f "$WINEPREFIX/.zefta-frames" ] || return 0
    zefta_wine reg delete "$key" /v Managed /f >/dev/null 2>&1 || true
    rm -f "$WINEPREFIX/.zefta-frames"
  fi
}

# One wineserver for the whole run, with the prefix's services already up:
# a service started by a test would inherit the test's output and keep the
# test runner waiting for it.
zefta_start_wineserver() {
  wineserver -p >/dev/null 2>&1 || true
  zefta_wine wineboot >/dev/null 2>&1 </dev/null || true
}

zefta_stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$ZEFTA_XVFB_PID" ] && kill "$ZEFTA_XVFB_PID" 2>/dev/null || true
}

# zefta_bench_exe NAME: sets exe to the benchmark NAME.exe of the build that
# runs on this machine (32-bit where it can, else 64-bit) and says which.
zefta_bench_exe() {
  zefta_choose_arch || return 1
  exe=$here/build/win$ZEFTA_ARCH/bin/$1.exe
  [ -f "$exe" ] || { echo "build first: cmake --preset win$ZEFTA_ARCH && cmake --build --preset win$ZEFTA_ARCH" >&2; return 1; }
  echo "$1.exe of the $ZEFTA_ARCH-bit build: $ZEFTA_ARCH_WHY"
}
