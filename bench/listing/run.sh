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

python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
def tree(path, entries):
    # 20 entries per directory in three levels: every 5th entry a directory.
    made, queue = 0, [path]
    os.makedirs(path)
    while made < entries:
        d = queue.pop(0)
        for i in range(20):
            if made >= entries:
                break
            japanese = "日本語ファイル" if i % 7 == 3 else ""
            if i % 5 == 0:
                sub = os.path.join(d, f"{japanese}dir{made:05d}")
                os.mkdir(sub)
                queue.append(sub)
            else:
                with open(os.path.join(d, f"{japanese}file{made:05d}.txt"), "w") as f:
                    f.write("x")
            made += 1
tree(os.path.join(work, "small"), 2000)
tree(os.path.join(work, "large"), 20000)
os.mkdir(os.path.join(work, "lists"))
PY

# No window is shown, so no display is needed; the shared wineserver is left
# to the others who may be using the prefix.
source "$root/scripts/wine-env.sh"
zefta_prepare_prefix
win() { local p="Z:$1"; echo "${p//\//\\}"; }
"$root/scripts/wine-run.sh" "$exe" "$(win "$work/small")" "$(win "$work/large")" "$(win "$work/lists")"
