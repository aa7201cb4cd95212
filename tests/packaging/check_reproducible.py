#!/usr/bin/env python3
"""Builds the two deliverables a second time, from a copy of the source in
another folder into a fresh build folder (the same compiler, none of the
first build's outputs), packages both builds and compares the two zips byte
for byte: the package depends on the sources alone.

check_reproducible.py --arch x86|x64 --preset win32|win64 --build <build dir> --source <source dir>
"""
import argparse
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

from check_package import package


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--arch", choices=("x86", "x64"), required=True)
    p.add_argument("--preset", required=True)
    p.add_argument("--build", type=Path, required=True)
    p.add_argument("--source", type=Path, required=True)
    p.add_argument("--cmake", default="cmake")
    a = p.parse_args()
    with tempfile.TemporaryDirectory(prefix="zefta-reproduce-") as scratch:
        # The copy's build folder is <copy>/build/<preset>, as the preset says.
        copy = Path(scratch) / "another-checkout"
        shutil.copytree(a.source, copy, symlinks=True,
                        ignore=lambda folder, names: {"build", ".git"} if Path(folder) == a.source else set())
        for step in ([a.cmake, "--preset", a.preset], [a.cmake, "--build", "--preset", a.preset, "--target", "ZEFTA", "KESTRUM"]):
            subprocess.run(step, cwd=copy, check=True, stdout=subprocess.DEVNULL)
        first = package(a.cmake, a.source, a.arch, a.build, Path(scratch, "first").resolve())
        second = package(a.cmake, copy, a.arch, copy / "build" / a.preset, Path(scratch, "second").resolve())
        same = first.read_bytes() == second.read_bytes()
        if not same:
            with zipfile.ZipFile(first) as one, zipfile.ZipFile(second) as two:
                differ = [n for n in one.namelist() if n not in two.namelist() or one.read(n) != two.read(n)]
            print(f"differing entries: {differ or 'none (the zip records differ)'}")
    print(("ok      " if same else "FAILED  ") + f"{first.name} from {a.build} and from a second build elsewhere: the same bytes")
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
