#!/usr/bin/env bash
# Prepares the tree that only the Linux side can make (directory links), then
# runs the library tests under Wine.
set -eu
here=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d /tmp/kestrum-lib-XXXXXX)
trap 'rm -rf "$work"' EXIT
windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }

# links: a link to a sibling directory and a link cycle back to the top.
mkdir -p "$work/links/real"
echo f > "$work/links/f.txt"
echo i > "$work/links/real/inner.txt"
ln -s real "$work/links/link"
ln -s "$work/links" "$work/links/loop"

export KESTRUM_PREPARED_DIR=$(windows_path "$work")
"$here/scripts/wine-run.sh" "$@"
