#!/usr/bin/env bash
# Makes what only the Linux side can make (names that differ only in letter
# case in one folder) in every tree, then runs the reliability executable
# under Wine. ZEFTA_TREES (or --trees=N) sets the number of trees.
set -eu
here=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d /tmp/zefta-reliability-XXXXXX)
trap 'rm -rf "$work"' EXIT
windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }

trees=${ZEFTA_TREES:-3}
for arg in "$@"; do
  case $arg in --trees=*) trees=${arg#--trees=} ;; esac
done

file() { mkdir -p "$(dirname "$1")"; printf 'linux side %s\n' "$1" > "$1"; }
for ((t = 0; t < trees; t++)); do
  tree="$work/t$t"
  for name in README readme Readme Notes.TXT notes.txt NOTES.txt; do file "$tree/CasePairs.Dir/$name"; done
  file "$tree/CasePairs.Dir/Sub/a.TXT"
  file "$tree/CasePairs.Dir/SUB/a.TXT"
  file "$tree/CasePairs.Dir/sub/A.txt"
  for name in データ.TXT データ.txt; do file "$tree/ケース/$name"; done
  for name in ﾃﾞｰﾀ.TXT ﾃﾞｰﾀ.txt; do file "$tree/ﾊﾝｶｸ.Dir/$name"; done
  for name in Photo.JPEG photo.jpeg PHOTO.Jpeg Photo.JPEGX photo.jpegX; do file "$tree/Mixed/$name"; done
done

# One folder for the targeted case-twin renames.
for name in Notes.TXT notes.txt NOTES.txt Readme README readme Solo.TXT Pair.Txt PAIR.TXT; do
  file "$work/twins/$name"
done

export ZEFTA_RELIABILITY_DIR=$(windows_path "$work")
# Wine notes every volume query on Z: (no label there); the figures stay readable without it.
set -o pipefail
"$here/scripts/wine-run.sh" "$@" 2> >(grep -v 'FS volume label and serial are not available' >&2) | tee "$work/output.txt"
# A run that Wine ended early (its wineserver stopped) must not pass.
if ! grep -q '^passed$' "$work/output.txt"; then
  echo "the run ended before its verdict" >&2
  exit 1
fi
