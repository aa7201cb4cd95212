#!/usr/bin/env python3
"""Checks the two deliverables as files, without running them: the processor
they are built for, that they import nothing but system DLLs, KESTRUM's export
table (the names of kestrum.def, ordinals 1 to 60 in ASCII order of the names),
both version resources and the program's manifest (well formed, or Windows
refuses to start the program; per-monitor dpi awareness in both forms).

check_binaries.py --bits 32|64 --def kestrum.def --zefta-version 1.5.0.0
                  --zefta-text 1.05 --kestrum-version 1.0.2.0 ZEFTA.EXE KESTRUM.DLL
"""
import argparse
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree

MACHINES = {32: 0x014C, 64: 0x8664}
SYSTEM_DLLS = re.compile(r"^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msvcrt"
                         r"|ntdll|shlwapi|uxtheme|version|api-ms-win-.*)\.dll$", re.I)
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what)
    if not ok:
        failures.append(what)


class Pe:
    def __init__(self, path):
        self.name = path.rsplit("/", 1)[-1]
        self.data = open(path, "rb").read()
        d = self.data
        if d[:2] != b"MZ":
            raise ValueError(f"{self.name} is no PE file")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{self.name} is no PE file")
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", d, opt)[0]
        self.subsystem = struct.unpack_from("<H", d, opt + 68)[0]
        directories = opt + (96 if magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", d, directories + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            s = opt + optional_size + 40 * i
            vsize, va, raw_size, raw = struct.unpack_from("<IIII", d, s + 8)
            self.sections.append((va, max(vsize, raw_size), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return rva - va + raw
        raise ValueError(f"address {rva:#x} outside the sections of {self.name}")

    def string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imports(self):
        rva, size = self.directories[1]
        names = []
        at = self.offset(rva) if size else None
        while at is not None:
            name = struct.unpack_from("<IIIII", self.data, at)[3]
            if name == 0:
                break
            names.append(self.string(name))
            at += 20
        return names

    def exports(self):
        """(ordinal base, number of functions, {ordinal: name})."""
        rva, size = self.directories[0]
        if not size:
            return 0, 0, {}
        at = self.offset(rva)
        base, functions, count, _, names, ordinals = struct.unpack_from("<IIIIII", self.data, at + 16)
        table = {}
        for i in range(count):
            name = self.string(struct.unpack_from("<I", self.data, self.offset(names) + 4 * i)[0])
            index = struct.unpack_from("<H", self.data, self.offset(ordinals) + 2 * i)[0]
            table[base + index] = name
        return base, functions, table

    def version(self):
        """The fixed file information and the strings of the version resource."""
        rva, size = self.directories[2]
        start = self.offset(rva)
        blob = self.data[start:start + size]
        sig = blob.find(struct.pack("<I", 0xFEEF04BD))
        if sig < 0:
            return None, {}
        fixed = struct.unpack_from("<13I", blob, sig)
        info = {"file": fixed[2:4], "product": fixed[4:6], "type": fixed[9]}
        # VS_VERSIONINFO is a tree of (length, value length, type, key, value) nodes.
        root = blob.rfind("VS_VERSION_INFO".encode("utf-16-le"), 0, sig) - 6
        strings = {}

        def walk(at, end, path):
            while at + 6 <= end:
                length, value_length, kind = struct.unpack_from("<HHH", blob, at)
                if length == 0:
                    return
                key_end = at + 6
                while blob[key_end:key_end + 2] != b"\0\0":
                    key_end += 2
                key = blob[at + 6:key_end].decode("utf-16-le")
                value = (key_end + 2 + 3) & ~3
                if kind == 1 and path[-1:] != ["VS_VERSION_INFO"] and value_length:
                    text = blob[value:value + 2 * value_length].decode("utf-16-le").rstrip("\0")
                    strings[key] = text
                children = value + (value_length if kind == 0 else 2 * value_length)
                walk((children + 3) & ~3, at + length, path + [key])
                at = (at + length + 3) & ~3

        walk(root, len(blob), [])
        return info, strings


def manifest_settings(pe):
    """The windowsSettings of the manifest in the resources, by their names
    without the namespace; None when there is no manifest or it is no XML."""
    start, end = pe.data.find(b"<?xml"), pe.data.find(b"</assembly>")
    try:
        root = ElementTree.fromstring(pe.data[start:end + len(b"</assembly>")]) if 0 <= start < end else None
    except ElementTree.ParseError:
        return None
    return None if root is None else {e.tag.split("}")[-1]: e.text for e in root.iter() if "WindowsSettings" in e.tag}


def def_names(path):
    names = []
    for line in open(path, encoding="ascii"):
        line = line.split(";", 1)[0].strip()
        match = re.match(r"^(\w+?)(@\d+)?\s+@(\d+)$", line)
        if match:
            names.append((match.group(1), int(match.group(3))))
    return names


def words(version):
    a, b, c, d = (int(x) for x in version.split("."))
    return (a << 16 | b, c << 16 | d)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bits", type=int, choices=(32, 64), required=True)
    p.add_argument("--def", dest="deffile", required=True)
    p.add_argument("--zefta-version", required=True)
    p.add_argument("--zefta-text", required=True)
    p.add_argument("--kestrum-version", required=True)
    p.add_argument("exe")
    p.add_argument("dll")
    a = p.parse_args()
    exe, dll = Pe(a.exe), Pe(a.dll)

    for pe in (exe, dll):
        check(pe.machine == MACHINES[a.bits], f"{pe.name}: a {a.bits}-bit PE (machine {pe.machine:#06x})")
        imported = pe.imports()
        foreign = [n for n in imported if not SYSTEM_DLLS.match(n)]
        check(not foreign, f"{pe.name}: imports only system DLLs ({' '.join(imported)})"
              + (f", not {' '.join(foreign)}" if foreign else ""))
    check(exe.subsystem == 2, f"{exe.name}: a window program (subsystem {exe.subsystem})")
    check(dll.characteristics & 0x2000 != 0, f"{dll.name}: a DLL")

    expected = sorted(def_names(a.deffile))  # by name: byte order is ASCII order
    names = [name for name, _ in expected]
    check([ordinal for _, ordinal in expected] == list(range(1, 61)),
          "kestrum.def: 60 names, ordinals 1-60 in ASCII order of the names")
    base, functions, table = dll.exports()
    wanted = {i + 1: name for i, name in enumerate(names)}
    check(base == 1 and functions == 60 and table == wanted,
          f"{dll.name}: exports the 60 names of kestrum.def at ordinals 1-60"
          + ("" if table == wanted else f" (differs: {sorted(set(table.items()) ^ set(wanted.items()))[:6]})"))

    for pe, version, text, kind, internal, filename in (
            (exe, a.zefta_version, a.zefta_text, 1, "ZEFTA", "ZEFTA.EXE"),
            (dll, a.kestrum_version, a.kestrum_version, 2, "KESTRUM", "KESTRUM.DLL")):
        fixed, strings = pe.version()
        check(fixed is not None and fixed["file"] == words(version) and fixed["product"] == words(version)
              and fixed["type"] == kind, f"{pe.name}: version resource {version}, file type {kind}")
        got = {k: strings.get(k) for k in ("FileVersion", "ProductVersion", "InternalName", "OriginalFilename")}
        check(got == {"FileVersion": text, "ProductVersion": text, "InternalName": internal,
                      "OriginalFilename": filename}, f"{pe.name}: version strings {got}")

    settings = manifest_settings(exe)
    check(settings == {"dpiAware": "true/pm", "dpiAwareness": "PerMonitorV2, PerMonitor"},
          f"{exe.name}: a manifest declaring per-monitor dpi awareness ({settings})")

    print(f"{len(failures)} of the checks failed" if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
