#!/usr/bin/env bash
# Prepares a folder for one scenario, runs its end-to-end driver under Wine and
# turns the driver's screenshots into PNG files next to the given prefix
# (e2e-main-window.png, ...).
#
# run_e2e.sh <main|drop|tree|glyphs> <driver.exe> <ZEFTA.EXE> <screenshot prefix>
set -u
scenario=$1 driver=$2 exe=$3 prefix=$4
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/zefta-e2e-XXXXXX)
own_display=
cleanup() {
  chmod -R u+w "$work" 2>/dev/null
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

files() {  # files <folder> <name>...
  local folder=$1 name
  shift
  mkdir -p "$folder"
  for name in "$@"; do echo "$name" > "$folder/$name"; done
}

folder=$work/folder
case $scenario in
  main)
    mkdir -p "$folder/sub"
    files "$folder" abc.txt Mixed.Txt UPPER.TXT keep.txt .hidden.txt
    ;;
  drop)
    mkdir -p "$folder/Folder"
    files "$folder" abc.txt Mixed.Txt UPPER.TXT keep.txt frame.txt surface.txt
    ;;
  tree)
    # Two trees alike (plain run, choice run), a temporary folder for the list file.
    # ソ and 表 end in the byte of "\" in Shift-JIS.
    files "$folder/plain" "表ソフト.txt" "My File, v2.txt"
    files "$folder/plain/ソDir" x.txt
    for t in plain choice; do
      files "$folder/$t" Readme.Txt UPPER.TXT 日本語メモ.txt ReadOnly.txt
      chmod a-w "$folder/$t/ReadOnly.txt"
      files "$folder/$t/サブDir" inner.txt ＡＢＣ全角.TXT
      files "$folder/$t/サブDir/Deep" Mixed.Case.doc 漢字.TXT
      files "$folder/$t/DONE"
    done
    mkdir -p "$folder/temp" "$folder/nolib"
    # The program alone, without its library.
    cp "$exe" "$folder/nolib/"
    ;;
  glyphs)
    # Underscores and descenders, and a name told from another only by its underscore.
    files "$folder/names" "a b.h" a_b.h gjpqy.txt nfnetlink_acct.h xt_tcpmss.h
    ;;
  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

status=0
"$here/scripts/wine-run.sh" "$driver" "$(windows_path "$exe")" "$(windows_path "$folder")" \
  "$(windows_path "$work/shot")" || status=$?
for bmp in "$work"/shot-*.bmp; do
  [ -f "$bmp" ] || continue
  name=$(basename "$bmp" .bmp)
  png="$prefix-${name#shot-}.png"
  convert "$bmp" "$png" && echo "screenshot: $png"
done
exit $status
