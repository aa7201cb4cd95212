#!/usr/bin/env python3
"""Makes the release package of one Windows build into a scratch folder with
the packaging script and checks it: exactly the files a user needs, in one
folder named after the version, each packaged file the very file the build
just made (or the source's header and .def); the two binaries stripped, under
the size targets, without a link time and marked as window programs; no path
of this machine in any file; the zip's entries in their order, dated at
SOURCE_DATE_EPOCH; and a readme in Japanese, then English, that Notepad shows.

check_package.py --arch x86|x64 --build <build dir> --source <source dir>
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

FILES = ["ZEFTA.EXE", "KESTRUM.DLL", "README.txt", "kestrum.h", "kestrum.def", "libkestrum.dll.a"]
# Bytes, with KB as Windows counts them.
SIZE_LIMITS = {"ZEFTA.EXE": 400 * 1024, "KESTRUM.DLL": 100 * 1024}
EPOCH = 1700000000  # any fixed time


def package(cmake, source, arch, build, out, epoch=EPOCH):
    """Runs the packaging script; the path of the zip it made."""
    subprocess.run([cmake, f"-DARCH={arch}", f"-DBUILD_DIR={build}", f"-DOUT_DIR={out}",
                    "-P", str(Path(source) / "packaging" / "package.cmake")],
                   check=True, env={**os.environ, "SOURCE_DATE_EPOCH": str(epoch)})
    return next(Path(out).glob(f"ZEFTA-*-{arch}.zip"))


def pe_header(data):
    """(time stamp, subsystem, debug-section names, symbol count) of a PE image."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, stamp, symbols_at, symbols, optional_size = struct.unpack_from("<HIIIH", data, pe + 6)
    subsystem = struct.unpack_from("<H", data, pe + 24 + 68)[0]
    names = []
    for i in range(sections):
        raw = data[pe + 24 + optional_size + 40 * i:][:8].rstrip(b"\0").decode("ascii")
        if raw.startswith("/"):  # a long name, kept in the string table after the symbols
            at = symbols_at + 18 * symbols + int(raw[1:])
            raw = data[at:data.index(b"\0", at)].decode("ascii")
        names.append(raw)
    return stamp, subsystem, [n for n in names if n.startswith(".debug")], symbols


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
    # Paths of this machine that a file could carry: the folders as given and
    # as resolved, in the code page and in UTF-16.
    local = {str(d) for d in (a.source, a.build, a.source.resolve(), a.build.resolve())}
    local = [s.encode(codec) for s in local for codec in ("utf-8", "utf-16-le")]
    failures = []

    def check(ok, what):
        print(("ok      " if ok else "FAILED  ") + what)
        if not ok:
            failures.append(what)

    with tempfile.TemporaryDirectory() as out:
        path = package(a.cmake, a.source, a.arch, a.build, out)
        with zipfile.ZipFile(path) as z:
            infos = z.infolist()
            names = [i.filename for i in infos]
            wanted = [f"{folder}/"] + [f"{folder}/{n}" for n in FILES]
            check(names == wanted, f"{path.name} holds {', '.join(FILES)} in this order"
                  + ("" if names == wanted else f" (has {names})"))
            dated = time.gmtime(EPOCH)[:6]
            check(all(i.date_time == dated and i.external_attr >> 16 in (0o40755, 0o100644) and not i.extra
                      for i in infos), f"every entry dated {dated} (SOURCE_DATE_EPOCH), mode 644 or 755, no extras")
            members = {n.split("/", 1)[1]: z.read(n) for n in names if not n.endswith("/")}
        for name, built in expected.items():
            check(members.get(name) == built.read_bytes(), f"{name} is {built}")
        carriers = [n for n, data in members.items() if any(s in data for s in local)]
        check(not carriers, "no file names the source or build folder" + (f" ({carriers})" if carriers else ""))
        for name, limit in SIZE_LIMITS.items():
            data = members.get(name, b"")
            stamp, subsystem, debug, symbols = pe_header(data) if data else (None, None, ["missing"], 0)
            check(len(data) <= limit, f"{name}: {len(data):,} bytes, at most {limit:,}")
            check(not debug and symbols == 0, f"{name}: stripped (debug sections {debug}, {symbols} symbols)")
            check(stamp == 0 and subsystem == 2,
                  f"{name}: no link time ({stamp:#x}), the window subsystem ({subsystem})")
        readme_bytes = members.get("README.txt", b"")
        readme = readme_bytes.decode("utf-8-sig", errors="replace")
        check(readme_bytes.startswith(b"\xef\xbb\xbf")
              and readme_bytes.count(b"\n") == readme_bytes.count(b"\r\n") == readme_bytes.count(b"\r") > 0,
              "README.txt: UTF-8 with its BOM, CR LF line ends only")
        japanese, english = readme.find("■ 概要"), readme.find("What it is")
        check(0 <= japanese < english, "README.txt: the Japanese text first, then the English")
        check(f"Ver{text} " in readme and f") {text} and" in readme and kestrum in readme and "932" in readme
              and f"certutil -hashfile {folder}.zip SHA256" in readme,
              f"README.txt names ZEFTA {text}, KESTRUM {kestrum}, code page 932 and the check of {folder}.zip")
    print(f"{len(failures)} of the checks failed" if failures else "the package is complete")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
