#!/usr/bin/env bash
# Prepares a folder, runs the end-to-end driver under Wine and turns its
# screenshots into PNG files next to the given prefix (e2e-main-window.png, ...).
set -u
driver=$1 exe=$2 prefix=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/zefta-e2e-XXXXXX)
own_display=
cleanup() {
  rm -rf "$work"
  [ -n "$own_display" ] && kill "$own_display" 2>/dev/null
}
trap cleanup EXIT

# The test runner provides a display; started alone, this brings its own.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  source "$here/scripts/wine-env.sh"
  zefta_start_display own
  own_display=$ZEFTA_XVFB_PID
fi

mkdir -p "$work/folder/sub"
for name in abc.txt Mixed.Txt UPPER.TXT keep.txt .hidden.txt; do echo "$name" > "$work/folder/$name"; done
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

status=0
"$here/scripts/wine-run.sh" "$driver" "$(windows_path "$exe")" "$(windows_path "$work/folder")" \
  "$(windows_path "$work/shot")" || status=$?
for bmp in "$work"/shot-*.bmp; do
  [ -f "$bmp" ] || continue
  name=$(basename "$bmp" .bmp)
  png="$prefix-${name#shot-}.png"
  convert "$bmp" "$png" && echo "screenshot: $png"
done
exit $status
