#!/usr/bin/env python3
"""Writes a zip whose bytes depend on the packed files alone: the entries in
the order given, every entry dated at the given time, the same permissions
for every file, no owner, no extra fields.

write_zip.py <zip> <time: seconds since 1970, UTC> <folder> <entry>...

Each entry is a path relative to <folder>; one ending in "/" is a directory.
"""
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01, the earliest time a zip entry can hold


def entry_info(name, seconds):
    info = zipfile.ZipInfo(name, time.gmtime(max(seconds, ZIP_EPOCH))[:6])
    info.create_system = 3  # Unix, so that the permissions below are read
    if name.endswith("/"):
        info.external_attr = (0o40755 << 16) | 0x10  # and the DOS directory bit
    else:
        info.external_attr = 0o100644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main(argv):
    if len(argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    out, seconds, folder, entries = argv[1], int(argv[2]), argv[3], argv[4:]
    with zipfile.ZipFile(out, "w") as archive:
        for name in entries:
            data = b"" if name.endswith("/") else open(f"{folder}/{name}", "rb").read()
            archive.writestr(entry_info(name, seconds), data, compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
