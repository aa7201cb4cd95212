#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's environment: code page
# 932, a prefix inside the build tree, no debug noise, and the loader that
# fits the program (Wine's 64-bit loader for a 64-bit program, its 32-bit one
# otherwise), so the same tests run from either build.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# The machine field of a PE file's header: 8664 for x64.
pe_machine() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$offset" ] || return 1
  od -An -t x2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' '
}

if [ "$(pe_machine "$1")" = 8664 ]; then
  export WINELOADER=/usr/lib/wine/wine64
  exec /usr/lib/wine/wine64 "$@"
fi
exec /usr/lib/wine/wine "$@"
