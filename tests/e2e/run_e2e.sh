#!/usr/bin/env bash
# Prepares a folder for every scenario, runs the end-to-end driver under Wine
# once and turns its screenshots into PNG files next to the given prefix
# (e2e-main-window.png, e2e-about-window.png, e2e-tree-list-window.png).
# Scenario names after the prefix run only those.
#
# run_e2e.sh <driver.exe> <ZEFTA.EXE> <screenshot prefix> [scenario...]
set -u
driver=$1 exe=$2 prefix=$3
shift 3
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/zefta-e2e-XXXXXX)
own_display=
cleanup() {
  # ZEFTA_E2E_KEEP=1 leaves the folders for a look after a failure.
  if [ -n "${ZEFTA_E2E_KEEP:-}" ]; then
    echo "folders kept in $work"
  else
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
  fi
  [ -n "$own_display" ] && kill "$own_display" 2>/dev/null
}
trap cleanup EXIT

# The test runner provides a display; started alone, this brings its own.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  source "$here/scripts/wine-env.sh"
  zefta_start_display own
  own_display=$ZEFTA_XVFB_PID
fi

files() {  # files <folder> <name>...
  local folder=$1 name
  shift
  mkdir -p "$folder"
  for name in "$@"; do echo "$name" > "$folder/$name"; done
}

root=$work/f
files "$root/main" abc.txt Mixed.Txt UPPER.TXT keep.txt gone.txt
mkdir -p "$root/main/sub"
files "$root/drop" abc.txt Mixed.Txt keep.txt
# ソ and 表 end in the byte of "\" in Shift-JIS; the top folder and five names
# lie outside it, two beside the look-alikes that its best fit makes of them
# (Cafe.TXT for Café.TXT, a\b.TXT for a¥b.TXT).
top="$root/tree/Top 한"
files "$top" 表ソフト.txt Readme.Txt ReadOnly.txt Café.TXT Cafe.TXT 한글.TXT a¥b.TXT 😀.TXT Plain.TXT
chmod a-w "$top/ReadOnly.txt"
files "$top/ソDir" x.txt
files "$top/サブDir" Mixed.Case.doc
files "$top/a" b.TXT
files "$root/undo" Alpha.TXT Beta.TXT Gamma.Txt
# A tree that takes a while to list, and a folder that takes a while to convert.
python3 - "$root" <<'PY'
import os, sys
root = sys.argv[1]
# Each folder costs the walk more than a file: 10,000 of them, a file in each.
for d in range(10):
    for i in range(1000):
        folder = os.path.join(root, "big", "D%02d" % d, "E%04d" % i)
        os.makedirs(folder)
        os.close(os.open(os.path.join(folder, "F.TXT"), os.O_CREAT | os.O_WRONLY, 0o644))
os.makedirs(os.path.join(root, "stop"))
for i in range(3000):
    os.close(os.open(os.path.join(root, "stop", "S%04d.TXT" % i), os.O_CREAT | os.O_WRONLY, 0o644))
PY
mkdir -p "$root/kill"
(cd "$root/kill" && for i in $(seq 1000 3999); do echo "$i" > "K0$i.TXT"; done)

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

status=0
"$here/scripts/wine-run.sh" "$driver" "$(windows_path "$exe")" "$(windows_path "$root")" \
  "$(windows_path "$work/shot")" "$@" || status=$?
for bmp in "$work"/shot-*.bmp; do
  [ -f "$bmp" ] || continue
  name=$(basename "$bmp" .bmp)
  png="$prefix-${name#shot-}.png"
  convert "$bmp" "$png" && echo "screenshot: $png"
done
exit $status
