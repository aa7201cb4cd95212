#!/usr/bin/env python3
"""A whole-tree conversion of a real tree that no one here wrote, judged by inode.

    real_tree.py NO_DATA_LOSS_EXE SOURCE_TREE OPTIONS...

Each OPTIONS ("lower,ext", "upper", ...) converts a fresh copy of SOURCE_TREE
(links kept as links) under Wine, directories included, beside a canary folder
that links from inside the copy lead to. Afterwards, on the Linux side:
nothing lost, moved to another folder or changed in content; every link and
the canary as they were; every other entry named as the rule says, or left
as it was where a name that differs only in letter case stands beside it.
Prints FIGURE lines; exits 1 on any fault.
"""
import hashlib, os, shutil, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", ".."))


def converted(name, lower, ext):
    """The rule on one name: the whole name, or at most five characters after its last dot."""
    case = str.lower if lower else str.upper
    dot = name.rfind(".")
    if not ext or dot < 0:
        return case(name)
    return name[: dot + 1] + case(name[dot + 1 : dot + 6]) + name[dot + 6 :]


def inventory(top):
    """inode -> (parent inode, name, kind, link target or content digest); every entry below top."""
    entries = {}
    for folder, dirs, files in os.walk(top):
        parent = os.lstat(folder).st_ino
        for name in dirs + files:
            path = os.path.join(folder, name)
            st = os.lstat(path)
            if os.path.islink(path):
                entries[st.st_ino] = (parent, name, "link", os.readlink(path))
            elif os.path.isdir(path):
                entries[st.st_ino] = (parent, name, "dir", "")
            else:
                with open(path, "rb") as f:
                    entries[st.st_ino] = (parent, name, "file", hashlib.sha1(f.read()).hexdigest())
    return entries


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def trial(exe, source, options, work):
    lower, ext = options.startswith("lower"), "ext" in options
    top = os.path.join(work, "tree")
    canary = os.path.join(work, "canary")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(canary, "Inner.D"))
    with open(os.path.join(canary, "Real.TXT"), "w") as f:
        f.write("canary\n")
    subprocess.run(["cp", "-R", "--no-preserve=ownership", source, top], check=True)
    os.symlink(canary, os.path.join(top, "zz-escape"))
    os.symlink(os.path.join(canary, "Real.TXT"), os.path.join(top, "ZZ-Escape.TXT"))
    before, canary_before = inventory(top), inventory(canary)

    env = dict(os.environ, ZEFTA_REAL_TREE=windows_path(top), ZEFTA_REAL_OPTIONS=options,
               ZEFTA_RELIABILITY_DIR=windows_path(os.path.join(work, "program")))
    run = subprocess.run([os.path.join(ROOT, "scripts", "wine-run.sh"), exe], env=env, capture_output=True, text=True)
    print(run.stdout, end="")
    after = inventory(top)

    faults = {"lost": [], "moved": [], "content changed": [], "links changed": [], "named otherwise": []}
    renamed = beside_twin = parked = links = 0
    siblings = {}
    for ino, (parent, name, kind, _) in before.items():
        siblings.setdefault(parent, {}).setdefault(name.casefold(), set()).add(ino)
    for ino, (parent, name, kind, what) in before.items():
        if ino not in after:
            faults["lost"].append(name)
            continue
        now_parent, now_name, now_kind, now_what = after[ino]
        if now_parent != parent:
            faults["moved"].append(name)
        if now_what != what:
            faults["links changed" if kind == "link" else "content changed"].append(name)
        if kind == "link":
            links += 1
            if now_name != name:
                faults["links changed"].append(name)
            continue
        wanted = converted(name, lower, ext)
        if now_name == wanted:
            renamed += now_name != name
        elif now_name == name and len(siblings[parent][name.casefold()]) > 1:
            beside_twin += 1
        elif now_name.casefold().startswith(name.casefold() + ".~zefta"):
            parked += 1
        else:
            faults["named otherwise"].append(f"{name} -> {now_name}")
    if inventory(canary) != canary_before:
        faults["links changed"].append("the canary folder outside the tree")

    group = f"real tree: a copy of {source}, {options}, directories too"
    figures = [("entries", len(before)), ("links (never moved)", links), ("names converted", renamed),
               ("left beside a case twin", beside_twin), ("left parked", parked),
               ("entries lost", len(faults["lost"])), ("entries moved to another folder", len(faults["moved"])),
               ("contents changed", len(faults["content changed"])), ("links or canary changed", len(faults["links changed"])),
               ("names other than the rule says", len(faults["named otherwise"])),
               ("entries appeared", len(set(after) - set(before)))]
    for label, value in figures:
        print(f"FIGURE|{group}|{label}|{value}")
    for label, names in faults.items():
        for name in names[:10]:
            print(f"{label}: {name}")
    ok = run.returncode == 0 and not any(faults.values()) and not set(after) - set(before)
    shutil.rmtree(work, ignore_errors=True)
    return ok


def main():
    exe, source, options = sys.argv[1], sys.argv[2], sys.argv[3:]
    work = tempfile.mkdtemp(prefix="zefta-real-tree-")
    ok = all([trial(exe, source, o, work) for o in options])
    shutil.rmtree(work, ignore_errors=True)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
