#!/usr/bin/env bash
# Prepares the trees that only the Linux side can make (directory links, names
# past the ANSI path limit), then runs the library tests under Wine.
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

# long: "edge" makes long\edge 258 bytes as Wine sees it (reachable, but its
# search pattern is not); the 250-byte names are out of reach altogether.
long="$work/long"
mkdir -p "$long"
echo s > "$long/short.txt"
edge_length=$((257 - $(windows_path "$long" | wc -c) + 1))
edge=$(printf 'e%.0s' $(seq "$edge_length"))
mkdir "$long/$edge"
echo x > "$long/$edge/x"
echo f > "$long/$(printf 'f%.0s' $(seq 250))"
mkdir "$long/$(printf 'g%.0s' $(seq 250))"
echo x > "$long/$(printf 'g%.0s' $(seq 250))/x"

export KESTRUM_PREPARED_DIR=$(windows_path "$work")
"$here/scripts/wine-run.sh" "$@"
