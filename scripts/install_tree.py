#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

"""install_tree.py STAGE PREFIX      copies a staged installation into PREFIX
   install_tree.py --check PREFIX   only tells whether PREFIX can take one

All or nothing: before anything is copied, every destination is checked. The
prefix and every folder on the way must be folders or not exist yet, no file
may land where a folder is, and each folder that gets something must be
writable. Files that are already there with the same content are left alone,
so a repeated install changes nothing. Should a copy fail all the same, what
was done is undone: new files and folders removed, replaced files restored.
"""

import filecmp
import os
import shutil
import stat
import sys


class InstallError(Exception):
    pass


def entries(stage):
    """(relative path, kind) of the staged tree, each folder before its content."""
    found = []
    for folder, dirs, files in os.walk(stage):
        rel = os.path.relpath(folder, stage)
        if rel != ".":
            found.append((rel, "dir"))
        for name in sorted(files) + sorted(d for d in dirs if os.path.islink(os.path.join(folder, d))):
            path = os.path.join(folder, name)
            found.append((os.path.normpath(os.path.join(rel, name)), "link" if os.path.islink(path) else "file"))
        dirs[:] = sorted(d for d in dirs if not os.path.islink(os.path.join(folder, d)))
    return found


def nearest_existing(path):
    while not os.path.lexists(path):
        path = os.path.dirname(path)
    return path


def prefix_problems(prefix):
    if os.path.lexists(prefix) and not os.path.isdir(prefix):
        return [f"the install prefix {prefix} is a file, not a folder"]
    existing = nearest_existing(prefix)
    if not os.path.isdir(existing):
        return [f"the install prefix {prefix} cannot be made: {existing} is a file, not a folder"]
    if not os.access(existing, os.W_OK | os.X_OK):
        return [f"the install prefix {prefix} is not writable: no write permission on {existing}"]
    return []


def same(source, dest, kind):
    if kind == "link":
        return os.path.islink(dest) and os.readlink(dest) == os.readlink(source)
    return (os.path.isfile(dest) and not os.path.islink(dest)
            and stat.S_IMODE(os.stat(dest).st_mode) == stat.S_IMODE(os.stat(source).st_mode)
            and filecmp.cmp(source, dest, shallow=False))


def problems(stage, prefix, tree):
    found = prefix_problems(prefix)
    if found:
        return found
    unwritable = set()
    for rel, kind in tree:
        source, dest = os.path.join(stage, rel), os.path.join(prefix, rel)
        if kind == "dir":
            if os.path.lexists(dest) and not os.path.isdir(dest):
                found.append(f"{dest} is in the way: a file where a folder belongs")
            continue
        if os.path.isdir(dest) and not os.path.islink(dest):
            found.append(f"{dest} is in the way: a folder where a file belongs")
        elif not (os.path.lexists(dest) and same(source, dest, kind)):
            folder = nearest_existing(os.path.dirname(dest))
            if os.path.isdir(folder) and not os.access(folder, os.W_OK | os.X_OK):
                unwritable.add(folder)
    found += [f"cannot write into {folder}: no write permission" for folder in sorted(unwritable)]
    return found


def undo(done):
    for action, path, backup in reversed(done):
        if action == "made folder":
            os.rmdir(path)
        elif action == "added":
            os.unlink(path)
        elif action == "moved aside":
            os.replace(backup, path)


def install(stage, prefix, copy=shutil.copy2):
    """Copies STAGE into PREFIX; returns the numbers of files written and kept."""
    tree = entries(stage)
    found = problems(stage, prefix, tree)
    if found:
        raise InstallError("\n".join(found) + "\nnothing was installed")
    done = []  # (action, path, backup) in the order done, for undo()
    written = kept = 0
    new, rel = None, "."
    try:
        missing = []
        folder = prefix
        while not os.path.lexists(folder):
            missing.append(folder)
            folder = os.path.dirname(folder)
        for folder in reversed(missing):
            os.mkdir(folder)
            done.append(("made folder", folder, None))
        for rel, kind in tree:
            source, dest = os.path.join(stage, rel), os.path.join(prefix, rel)
            if kind == "dir":
                if not os.path.isdir(dest):
                    os.mkdir(dest)
                    done.append(("made folder", dest, None))
                continue
            if os.path.lexists(dest) and same(source, dest, kind):
                kept += 1
                continue
            # Written beside the destination first, so that the destination
            # is either the old file or the whole new one.
            new, old = dest + ".weq-new", dest + ".weq-old"
            if kind == "link":
                os.symlink(os.readlink(source), new)
            else:
                copy(source, new)
            replacing = os.path.lexists(dest)
            if replacing:
                os.replace(dest, old)
                done.append(("moved aside", dest, old))
            os.replace(new, dest)
            new = None
            if not replacing:
                done.append(("added", dest, None))
            written += 1
    except OSError as error:
        if new and os.path.lexists(new):
            os.unlink(new)
        undo(done)
        raise InstallError(f"installing {rel} failed: {error}\n{prefix} is as it was before") from error
    for action, _, backup in done:
        if action == "moved aside":
            os.unlink(backup)
    return written, kept


def main(argv):
    try:
        if len(argv) == 2 and argv[0] == "--check":
            found = prefix_problems(os.path.abspath(argv[1]))
            if found:
                raise InstallError("\n".join(found))
            return 0
        if len(argv) != 2:
            print(__doc__, file=sys.stderr)
            return 2
        stage, prefix = (os.path.abspath(a) for a in argv)
        written, kept = install(stage, prefix)
        print(f"installed into {prefix}: {written} files written, {kept} already up to date")
        return 0
    except InstallError as error:
        print(f"error: {error}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
