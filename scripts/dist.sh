#!/usr/bin/env bash
# The two release packages from the two Windows builds (make dist builds them
# first): build/dist/ZEFTA-<version>-x86.zip and ZEFTA-<version>-x64.zip, and
# build/dist/SHA256SUMS with the sums of both. The same commit gives the same
# bytes: the zip entries are dated at the commit's time unless
# SOURCE_DATE_EPOCH says otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build/dist
rm -f build/dist/ZEFTA-*.zip build/dist/SHA256SUMS
for arch in x86 x64; do
  case $arch in x86) preset=win32 ;; x64) preset=win64 ;; esac
  cmake -DARCH=$arch -DBUILD_DIR="$PWD/build/$preset" -DOUT_DIR="$PWD/build/dist" -P packaging/package.cmake
done
cd build/dist
sha256sum ZEFTA-*-x86.zip ZEFTA-*-x64.zip > SHA256SUMS
cat SHA256SUMS
