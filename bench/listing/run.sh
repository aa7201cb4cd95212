#!/usr/bin/env bash
# Listing benchmark: generates trees of 2,000 and 20,000 entries (files and
# directories, some Japanese names) on the Linux side, then times
# MakeDirFileListB_ against a minimal FindFirstFileA walk, and the program's
# whole-tree listing against a minimal FindFirstFileW walk, under Wine.
#   bash bench/listing/run.sh [--million]   (after make build)
# --million adds a tree of 1,000,000 files in 1,000 folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
ZEFTA_PREFIX_NAME=bench-wineprefix
# The build that runs on this machine: 32-bit where it can, else 64-bit.
source "$root/scripts/wine-env.sh"
zefta_bench_exe listing_bench
work=$(mktemp -d /tmp/kestrum-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

python3 "$root/bench/make_tree.py" "$work/small" 2000
python3 "$root/bench/make_tree.py" "$work/large" 20000
trees=("$work/small" "$work/large")
if [ "${1:-}" = --million ]; then
  python3 "$root/bench/make_tree.py" "$work/million" 1000000 --folders 1000
  trees+=("$work/million")
fi
mkdir "$work/lists"

# No window is shown, so no display is needed; the shared wineserver is left
# to the others who may be using the prefix.
zefta_prepare_prefix
win() { local p="Z:$1"; echo "${p//\//\\}"; }
args=()
for tree in "${trees[@]}"; do args+=("$(win "$tree")"); done
"$root/scripts/wine-run.sh" "$exe" "$(win "$work/lists")" "${args[@]}"
