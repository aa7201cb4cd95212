#!/usr/bin/env bash
# Prepares what a Windows test needs on the Linux side, then runs it under Wine.
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/zefta-case-XXXXXX)
trap 'rm -rf "$work"' EXIT
# Two names that differ only in case: only Linux can create them side by side.
mkdir -p "$work/pair"
echo "content of README" > "$work/pair/README"
echo "content of readme" > "$work/pair/readme"
export ZEFTA_CASE_PAIR_DIR="Z:${work//\//\\}\\pair"
"$here/scripts/wine-run.sh" "$@"
