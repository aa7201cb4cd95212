#!/usr/bin/env bash
# Makes what only the Linux side can make (names that differ only in letter
# case in one folder) in every tree, then runs the no-data-loss runs under
# Wine. ZEFTA_TREES sets the number of trees (3).
set -eu
here=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d /tmp/zefta-reliability-XXXXXX)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
export ZEFTA_TREES=${ZEFTA_TREES:-3}

file() { mkdir -p "$(dirname "$1")"; printf 'linux side %s\n' "$1" > "$1"; }
for ((t = 0; t < ZEFTA_TREES; t++)); do
  tree="$work/t$t"
  for name in README readme Readme Notes.TXT notes.txt NOTES.txt; do file "$tree/CasePairs.Dir/$name"; done
  file "$tree/CasePairs.Dir/Sub/a.TXT"
  file "$tree/CasePairs.Dir/SUB/a.TXT"
  for name in データ.TXT データ.txt; do file "$tree/ケース/$name"; done
  for name in ﾃﾞｰﾀ.TXT ﾃﾞｰﾀ.txt; do file "$tree/ﾊﾝｶｸ.Dir/$name"; done
  for name in Photo.JPEG photo.jpeg PHOTO.Jpeg Photo.JPEGX photo.jpegX; do file "$tree/Mixed/$name"; done
done

windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
export ZEFTA_RELIABILITY_DIR=$(windows_path "$work")
# Wine notes every volume query on Z: (no label there); the figures stay readable without it.
set -o pipefail
"$here/scripts/wine-run.sh" "$@" 2> >(grep -v 'FS volume label and serial are not available' >&2) | tee "$work/output.txt"
# A run that Wine ended early (its wineserver stopped) must not pass.
grep -q '^passed$' "$work/output.txt" || { echo "the run ended before its verdict" >&2; exit 1; }
