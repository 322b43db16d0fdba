#!/usr/bin/env python3
"""Checks that every Qt-free library target reaches only the headers it declares.

Reads BUILD/layering-manifest.txt (written by CMake: target, folder under src/, declared
dependencies, sources). For each target whose dependencies lead to no Qt target it
  - checks that each quoted project include of its own files names its own folder or the
    folder of a target it lists directly, and
  - builds an include root holding only the headers of the target and of what it depends on
    (directly or through them) and compiles every source there with -fsyntax-only.
Subfolders that are targets of their own (platform/qt, editor/window) are left out of their
parent's headers.

Usage: scripts/check-layering.py [BUILD_DIR] [-j JOBS] [--compiler CXX]
"""
import argparse
import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = os.path.join(ROOT, "src")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def read_manifest(path):
    targets = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                continue
            name, folder, deps, sources = line.split("|")
            targets[name] = {
                "folder": folder,
                "deps": deps.split(),
                "sources": [s if os.path.isabs(s) else os.path.join(SRC, folder, s)
                            for s in sources.split()],
            }
    return targets


def closure(targets, name):
    seen, todo, external = set(), list(targets[name]["deps"]), set()
    while todo:
        dep = todo.pop()
        if dep in seen:
            continue
        seen.add(dep)
        if dep in targets:
            todo.extend(targets[dep]["deps"])
        else:
            external.add(dep)
    return {d for d in seen if d in targets}, external


def own_files(targets, name):
    """The files of a target's folder, without the subfolders other targets own."""
    folder = targets[name]["folder"]
    others = {t["folder"] for n, t in targets.items() if n != name}
    result = []
    for dirpath, dirnames, filenames in os.walk(os.path.join(SRC, folder)):
        rel = os.path.relpath(dirpath, SRC)
        dirnames[:] = [d for d in dirnames if os.path.join(rel, d) not in others]
        result.extend(os.path.join(dirpath, f) for f in filenames
                      if f.endswith((".h", ".cpp")))
    return result


def owner_of(targets, include):
    """The target whose folder holds an include path (the longest matching folder)."""
    best = None
    for name, t in targets.items():
        prefix = t["folder"] + "/"
        if include.startswith(prefix) and (best is None or
                                           len(prefix) > len(targets[best]["folder"]) + 1):
            best = name
    return best


def direct_include_faults(targets, name):
    allowed = {name, *targets[name]["deps"]}
    faults = []
    for path in own_files(targets, name):
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for include in INCLUDE.findall(text):
            owner = owner_of(targets, include)
            if owner is not None and owner not in allowed:
                faults.append(f"{os.path.relpath(path, ROOT)}: includes \"{include}\" of "
                              f"{owner}, which {name} does not list")
    return faults


def make_root(targets, names, root):
    for name in names:
        for path in own_files(targets, name):
            link = os.path.join(root, os.path.relpath(path, SRC))
            os.makedirs(os.path.dirname(link), exist_ok=True)
            if not os.path.exists(link):
                os.symlink(path, link)


def compile_one(compiler, root, source):
    inside = os.path.join(root, os.path.relpath(source, SRC))
    cmd = [compiler, "-std=c++20", "-fsyntax-only", "-I", root, inside]
    run = subprocess.run(cmd, capture_output=True, text=True)
    return source, run.returncode, run.stderr


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=os.path.join(ROOT, "build"))
    parser.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--compiler", default=os.environ.get("CXX", "g++"))
    args = parser.parse_args()

    manifest = os.path.join(args.build, "layering-manifest.txt")
    if not os.path.exists(manifest):
        sys.exit(f"{manifest} is missing: configure {args.build} with CMake first")
    targets = read_manifest(manifest)

    faults, jobs, checked = [], [], []
    with tempfile.TemporaryDirectory(prefix="fs-layering-") as tmp:
        for name in sorted(targets):
            deps, external = closure(targets, name)
            if external:  # Qt or another outside library: not a Qt-free target
                continue
            checked.append(name)
            faults.extend(direct_include_faults(targets, name))
            root = os.path.join(tmp, name)
            make_root(targets, {name, *deps}, root)
            jobs.extend((root, s) for s in targets[name]["sources"])
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            for source, code, err in pool.map(lambda j: compile_one(args.compiler, *j), jobs):
                if code != 0:
                    faults.append(f"{os.path.relpath(source, ROOT)} does not compile with only "
                                  f"its target's declared headers:\n{err.strip()}")
    print(f"layering: {len(checked)} Qt-free targets ({', '.join(checked)}), "
          f"{len(jobs)} sources")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
