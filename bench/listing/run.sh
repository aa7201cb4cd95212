#!/usr/bin/env bash
# Listing benchmark: generates trees of 2,000 and 20,000 entries (files and
# directories, some Japanese names) on the Linux side, then times
# MakeDirFileListB_ against a minimal FindFirstFileA walk under Wine.
#   bash bench/listing/run.sh   (after cmake --build --preset win32)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=$root/build/win32/bin/listing_bench.exe
[ -f "$exe" ] || { echo "build first: cmake --preset win32 && cmake --build --preset win32" >&2; exit 1; }
work=$(mktemp -d /tmp/kestrum-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

python3 "$root/bench/make_tree.py" "$work/small" 2000
python3 "$root/bench/make_tree.py" "$work/large" 20000
mkdir "$work/lists"

# No window is shown, so no display is needed; the shared wineserver is left
# to the others who may be using the prefix.
source "$root/scripts/wine-env.sh"
zefta_prepare_prefix
win() { local p="Z:$1"; echo "${p//\//\\}"; }
"$root/scripts/wine-run.sh" "$exe" "$(win "$work/small")" "$(win "$work/large")" "$(win "$work/lists")"
