#!/usr/bin/env bash
# Runs a Windows program under Wine with the screen at DPI dots per inch. Wine
# reads the prefix's LogPixels when a program starts; the prefix gets its own
# value back afterwards, so that what runs next runs at the dpi it expects.
#
# run_at_dpi.sh DPI PROGRAM [ARGUMENT...]
set -u
dpi=$1
shift
here=$(cd "$(dirname "$0")/../.." && pwd)
# The prefix that wine-run.sh takes, whichever build this is.
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
source "$here/scripts/wine-env.sh"
zefta_choose_arch || exit 1
key='HKCU\Control Panel\Desktop'
old=$(zefta_wine reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' | awk '$1 == "LogPixels" { print $3 }')
restore() {
  if [ -n "$old" ]; then
    zefta_wine reg add "$key" /v LogPixels /t REG_DWORD /d "$((old))" /f >/dev/null 2>&1
  else
    zefta_wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
  fi
}
trap restore EXIT
zefta_wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 1
"$here/scripts/wine-run.sh" "$@"
