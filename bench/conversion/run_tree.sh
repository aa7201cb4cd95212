#!/usr/bin/env bash
# Whole-tree conversion benchmark: a tree of 20,000 entries (four identical
# copies, generated on the Linux side); the Tool menu command through listing,
# loading the list window with the real binding and converting every entry,
# beside the same walk followed by bare moves, all under Wine.
#   bash bench/conversion/run_tree.sh [entries [--folders N] [--program-only]]   (after make build)
# --folders N: the entries are files in N folders (make_tree.py).
# --program-only: no baselines (the million: each would take as long again).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# A prefix of its own: others' test runs may be using the one of the tests.
ZEFTA_PREFIX_NAME=bench-wineprefix
# The build that runs on this machine: 32-bit where it can, else 64-bit.
source "$root/scripts/wine-env.sh"
zefta_bench_exe tree_conversion_bench
entries=${1:-20000}
layout=()
copies=(program bare twomoves floor)
for option in "${@:2}"; do
  if [ "$option" = --program-only ]; then copies=(program); else layout+=("$option"); fi
done
work=$(mktemp -d /tmp/zefta-bench-XXXXXX)
trap 'zefta_stop_all 2>/dev/null; rm -rf "$work"' EXIT

for copy in "${copies[@]}"; do
  python3 "$root/bench/make_tree.py" "$work/$copy" "$entries" --mixed "${layout[@]}"
done
# The copies on the disk before anything is timed: the program, timed first,
# forces its journal to the disk after every entry, which would otherwise
# wait for the write-back of all four trees.
sync

zefta_start_display own
zefta_prepare_prefix
zefta_start_wineserver
# No window manager on its own display: Wine draws the frames, and hiding a
# window does not wait for a window manager that never answers (2 s each).
zefta_window_frames wine
win() { local p="Z:$1"; echo "${p//\//\\}"; }
copy() { if [ -d "$work/$1" ]; then win "$work/$1"; else echo -; fi; }
"$root/scripts/wine-run.sh" "$exe" "$(win "$work/program")" "$(copy bare)" "$(copy twomoves)" "$(copy floor)"
