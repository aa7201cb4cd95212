#!/usr/bin/env bash
# Makes what only the Linux side can make (names that differ only in letter
# case in one folder, links into the tree, out of it and dangling, names
# that the Win32 path rules would read as others beside those others, a
# file more than 400 characters down) in every tree, runs the no-data-loss
# runs under Wine, and then checks on the Linux side, by inode, that every
# link and everything outside the trees is as it was. ZEFTA_TREES sets the
# number of trees (3).
set -eu
here=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d /tmp/zefta-reliability-XXXXXX)
# A failed run leaves its trees for a look by inode; a passed one cleans up.
trap 'if [ $? -eq 0 ]; then chmod -R u+w "$work"; rm -rf "$work"; else echo "trees kept in $work" >&2; fi' EXIT
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
  # Links to what no run renames (outside, or beside a case twin), and dangling
  # ones, one of them beside a file whose name differs in letter case only.
  file "$tree/Links.Dir/Twin.TXT"
  ln -s "$work/outside/Real.TXT" "$tree/Links.Dir/LinkFile.TXT"
  ln -s "$work/outside/RealDir.D" "$tree/Links.Dir/LinkDir.D"
  ln -s ../nowhere "$tree/Links.Dir/Dangling.TXT"
  ln -s ../nowhere "$tree/Links.Dir/twin.txt"
  ln -s Notes.TXT "$tree/CasePairs.Dir/Notes.Link"
  ln -s Sub "$tree/CasePairs.Dir/SubLink.D"
  # A trailing dot or space, device names: each beside the name the path
  # rules would make of it.
  for name in "Notes." Notes "Trail " Trail Con.Txt Aux Lpt1.Log Plain.Txt; do file "$tree/Odd.Dir/$name"; done
  file "$tree/Odd.Dir/Sub. /Inner.Txt"
  file "$tree/Odd.Dir/Sub/Inner.Txt"
  # Read back without its dot, a link to its twin looks like its twin.
  ln -s Notes "$tree/Odd.Dir/Linked."
  file "$tree/Odd.Dir/Twin"
  ln -s Twin "$tree/Odd.Dir/Twin."
  deep="$tree/Deep"
  for level in 1 2 3 4 5 6 7 8; do deep="$deep/Level${level}_Of_A_Tree_Deeper_Than_The_Classic_Path_Limit"; done
  file "$deep/Deepest.File.TXT"
done
file "$work/outside/Real.TXT"
file "$work/outside/RealDir.D/INNER.TXT"
# What must not change: every link (its inode, name, target and the inode of
# its folder, which a run may rename) and every entry outside the trees (its
# path and inode).
inventory() {
  python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
for folder, dirs, files in os.walk(work):
    for name in dirs + files:
        path = os.path.join(folder, name)
        if os.path.islink(path):
            print(os.lstat(path).st_ino, os.stat(folder).st_ino, name, "->", os.readlink(path))
        elif path.startswith(os.path.join(work, "outside")):
            print(os.lstat(path).st_ino, path)
PY
}
inventory | sort >"$work/links.before"

windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
export ZEFTA_RELIABILITY_DIR=$(windows_path "$work")
# Wine notes every volume query on Z: (no label there); the figures stay readable without it.
set -o pipefail
"$here/scripts/wine-run.sh" "$@" 2> >(grep -v 'FS volume label and serial are not available' >&2) | tee "$work/output.txt"
inventory | sort >"$work/links.after"
group="no data loss, under Wine: links and what lies outside the trees, by inode on the Linux side"
echo "FIGURE|$group|entries|$(wc -l <"$work/links.before")"
echo "FIGURE|$group|entries lost|$(comm -23 "$work/links.before" "$work/links.after" | tee /dev/stderr | wc -l)"
echo "FIGURE|$group|entries appeared|$(comm -13 "$work/links.before" "$work/links.after" | wc -l)"
# A run that Wine ended early (its wineserver stopped) must not pass.
grep -q '^passed$' "$work/output.txt" || { echo "the run ended before its verdict" >&2; exit 1; }
cmp -s "$work/links.before" "$work/links.after" || { echo "links or entries outside the trees changed" >&2; exit 1; }
