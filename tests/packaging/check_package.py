#!/usr/bin/env python3
"""Makes the release package of one Windows build into a scratch folder with
the packaging script and checks it: exactly the files a user needs, in one
folder named after the version, each packaged file the very file the build
just made (or the source's header and .def), and a readme that names the
version and the code page.

check_package.py --arch x86|x64 --build <build dir> --source <source dir>
"""
import argparse
import re
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--arch", choices=("x86", "x64"), required=True)
    p.add_argument("--build", type=Path, required=True)
    p.add_argument("--source", type=Path, required=True)
    p.add_argument("--cmake", default="cmake")
    a = p.parse_args()
    versions = (a.source / "cmake" / "versions.cmake").read_text()
    text = re.search(r"set\(ZEFTA_VERSION_TEXT ([^)]+)\)", versions).group(1)
    kestrum = re.search(r"set\(KESTRUM_VERSION ([^)]+)\)", versions).group(1)
    folder = f"ZEFTA-{text}-{a.arch}"
    def_file = a.source / "library" / "kestrum.def" if a.arch == "x86" else a.build / "library" / "kestrum.def"
    expected = {
        "ZEFTA.EXE": a.build / "bin" / "ZEFTA.EXE",
        "KESTRUM.DLL": a.build / "bin" / "KESTRUM.DLL",
        "kestrum.h": a.source / "library" / "kestrum.h",
        "kestrum.def": def_file,
        "libkestrum.dll.a": a.build / "library" / "libKESTRUM.dll.a",
    }
    failures = []

    def check(ok, what):
        print(("ok      " if ok else "FAILED  ") + what)
        if not ok:
            failures.append(what)

    with tempfile.TemporaryDirectory() as out:
        subprocess.run([a.cmake, f"-DARCH={a.arch}", f"-DBUILD_DIR={a.build}", f"-DOUT_DIR={out}",
                        "-P", str(a.source / "packaging" / "package.cmake")], check=True)
        package = Path(out) / f"{folder}.zip"
        check(package.is_file(), f"{package.name} made")
        if not package.is_file():
            return 1
        with zipfile.ZipFile(package) as z:
            names = sorted(n for n in z.namelist() if not n.endswith("/"))
            wanted = sorted(f"{folder}/{n}" for n in [*expected, "README.txt"])
            check(names == wanted, f"{package.name} holds {', '.join(n.split('/', 1)[1] for n in wanted)}"
                  + ("" if names == wanted else f" (has {names})"))
            for name, built in expected.items():
                member = f"{folder}/{name}"
                same = member in names and z.read(member) == built.read_bytes()
                check(same, f"{name} is {built}")
            readme = z.read(f"{folder}/README.txt").decode("utf-8-sig") if f"{folder}/README.txt" in names else ""
            check(f"{text} " in readme and kestrum in readme and "932" in readme and "\r\n" in readme,
                  f"README.txt names ZEFTA {text}, KESTRUM {kestrum} and code page 932, with Windows line ends")
    print(f"{len(failures)} of the checks failed" if failures else "the package is complete")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
