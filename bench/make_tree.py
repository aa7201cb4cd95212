#!/usr/bin/env python3
"""Generates a benchmark tree: 20 entries per directory, every 5th a
directory, breadth first; some names Japanese.

  make_tree.py PATH ENTRIES [--mixed] [--folders N]

--mixed spells the names in mixed case (Dir00005, File00001.Txt), so every
entry needs converting to lower case. --folders N makes ENTRIES files in N
folders already in lower case (folder00 ...) instead, so that the files are
what a run counts.
"""
import os
import sys


def tree(path, entries, mixed):
    made, queue = 0, [path]
    os.makedirs(path)
    dir_name, file_name = ("Dir", "File{:05d}.Txt") if mixed else ("dir", "file{:05d}.txt")
    while made < entries:
        d = queue.pop(0)
        for i in range(20):
            if made >= entries:
                break
            japanese = "日本語ファイル" if i % 7 == 3 else ""
            if i % 5 == 0:
                sub = os.path.join(d, f"{japanese}{dir_name}{made:05d}")
                os.mkdir(sub)
                queue.append(sub)
            else:
                name = os.path.join(d, japanese + file_name.format(made))
                os.close(os.open(name, os.O_CREAT | os.O_WRONLY, 0o644))
            made += 1


def flat(path, files, folders, mixed):
    file_name = "File{:05d}.Txt" if mixed else "file{:05d}.txt"
    for made in range(files):
        folder = os.path.join(path, "folder{:02d}".format(made * folders // files))
        os.makedirs(folder, exist_ok=True)
        os.close(os.open(os.path.join(folder, file_name.format(made)), os.O_CREAT | os.O_WRONLY, 0o644))


if __name__ == "__main__":
    options = sys.argv[3:]
    if "--folders" in options:
        flat(sys.argv[1], int(sys.argv[2]), int(options[options.index("--folders") + 1]), "--mixed" in options)
    else:
        tree(sys.argv[1], int(sys.argv[2]), "--mixed" in options)
