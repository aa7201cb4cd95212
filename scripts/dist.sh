#!/usr/bin/env bash
# The two release packages from the two Windows builds (make dist builds them
# first): build/dist/ZEFTA-<version>-x86.zip and ZEFTA-<version>-x64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build/dist
for arch in x86 x64; do
  case $arch in x86) preset=win32 ;; x64) preset=win64 ;; esac
  cmake -DARCH=$arch -DBUILD_DIR="$PWD/build/$preset" -DOUT_DIR="$PWD/build/dist" -P packaging/package.cmake
done
