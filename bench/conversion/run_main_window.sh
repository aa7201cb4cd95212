#!/usr/bin/env bash
# Main window benchmark: a folder of 30,000 files (four identical copies,
# generated on the Linux side); refreshing List and converting every <every>-th
# entry through the real window binding, beside a bare FindFirstFileW loop and
# bare moves, all under Wine.
#   bash bench/conversion/run_main_window.sh [files] [every]   (after make build)
# A rename in a folder of 30,000 entries costs tens of milliseconds under Wine
# (each name not spelled exactly as stored is searched through the folder), so
# the default converts 1,000 entries (every 30th, under two minutes); every 6th
# gives 5,000, which takes about seven minutes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# A prefix of its own: others' test runs may be using the one of the tests.
ZEFTA_PREFIX_NAME=bench-wineprefix
# The build that runs on this machine: 32-bit where it can, else 64-bit.
source "$root/scripts/wine-env.sh"
zefta_bench_exe main_window_bench
files=${1:-30000}
every=${2:-30}
work=$(mktemp -d /tmp/zefta-bench-XXXXXX)
trap 'zefta_stop_all 2>/dev/null; rm -rf "$work"' EXIT

python3 - "$work" "$files" <<'PY'
import os, sys
work, files = sys.argv[1], int(sys.argv[2])
# Mixed-case names, every seventh with Japanese in it: all need lower-casing.
names = [(f"日本語Memo{i:05d}.Txt" if i % 7 == 3 else f"Report{i:05d}.Txt") for i in range(files)]
for copy in ("program", "bare", "twomoves", "floor"):
    d = os.path.join(work, copy)
    os.mkdir(d)
    for name in names:
        os.close(os.open(os.path.join(d, name), os.O_CREAT | os.O_WRONLY, 0o644))
PY

zefta_start_display own
zefta_prepare_prefix
zefta_start_wineserver
# No window manager on its own display: Wine draws the frames, and hiding a
# window does not wait for a window manager that never answers (2 s each).
zefta_window_frames wine
win() { local p="Z:$1"; echo "${p//\//\\}"; }
"$root/scripts/wine-run.sh" "$exe" "$(win "$work/program")" "$(win "$work/bare")" "$(win "$work/twomoves")" "$(win "$work/floor")" "$every"
