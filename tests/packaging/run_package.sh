#!/usr/bin/env bash
# Runs the packed files themselves: the release package made into a scratch
# folder and unpacked there, the library's tests against the unpacked
# KESTRUM.DLL, and the end-to-end tree conversion through the unpacked
# ZEFTA.EXE, which loads the KESTRUM.DLL beside it.
#
# run_package.sh <x86|x64> <build dir> <kestrum_tests.exe> <zefta_e2e.exe>
set -eu
arch=$1 build=$2 library_tests=$3 driver=$4
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/zefta-package-XXXXXX)
trap 'rm -rf "$work"' EXIT

cmake -DARCH="$arch" -DBUILD_DIR="$build" -DOUT_DIR="$work" -P "$here/packaging/package.cmake" >/dev/null
python3 -m zipfile -e "$work"/ZEFTA-*-"$arch".zip "$work/unpacked"
unpacked=$(echo "$work"/unpacked/ZEFTA-*)
cp "$library_tests" "$unpacked/"
# The window program first: started alone, run_e2e.sh brings the display
# that the Wine session then keeps.
echo "== the tree conversion through $unpacked/ZEFTA.EXE"
"$here/tests/e2e/run_e2e.sh" "$driver" "$unpacked/ZEFTA.EXE" "$work/shot" tree
echo "== the library's tests against $unpacked/KESTRUM.DLL"
"$here/tests/wine/library/run_library_tests.sh" "$unpacked/$(basename "$library_tests")" --gtest_brief=1
