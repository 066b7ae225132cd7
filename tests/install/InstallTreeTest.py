# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

"""The all-or-nothing copy of scripts/install: each row prepares a prefix,
installs a small staged tree into it, and checks the outcome. A row that
fails leaves the prefix exactly as it was: same files, contents and times."""

import os
import shutil
import stat
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "..", "scripts")]
import install_tree  # noqa: E402


def read(path):
    with open(path, "rb") as f:
        return f.read()


def make_stage(stage):
    files = {"include/WEQBarCode/a.h": ("new header\n", 0o644),
             "lib/libx.so.1.0": ("new library\n", 0o755),
             "lib/cmake/X/XConfig.cmake": ("config\n", 0o644)}
    for rel, (text, mode) in files.items():
        path = os.path.join(stage, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, mode)
        os.utime(path, ns=(1_600_000_000_000_000_000, 1_600_000_000_000_000_000))
    os.symlink("libx.so.1.0", os.path.join(stage, "lib/libx.so.1"))
    os.symlink("libx.so.1", os.path.join(stage, "lib/libx.so"))


def snapshot(root):
    """Everything about a tree that an install could change."""
    if not os.path.lexists(root):
        return None
    if not os.path.isdir(root):
        return read(root)
    seen = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            st = os.lstat(path)
            if stat.S_ISLNK(st.st_mode):
                what = ("link", os.readlink(path))
            elif stat.S_ISDIR(st.st_mode):
                what = ("dir", None)
            else:
                what = ("file", read(path), st.st_mtime_ns, st.st_ino)
            seen[os.path.relpath(path, root)] = what + (stat.S_IMODE(st.st_mode),)
    return seen


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def failing_copy(after):
    calls = []

    def copy(source, dest):
        calls.append(source)
        if len(calls) > after:
            raise OSError(28, "No space left on device")
        shutil.copy2(source, dest)
    return copy


def nothing(prefix):
    pass


def installed_once(prefix):
    install_tree.install(STAGE, prefix)


def older_header(prefix):
    write(os.path.join(prefix, "include/WEQBarCode/a.h"), "old header\n")


def prefix_is_a_file(prefix):
    write(prefix, "not a folder\n")


def file_where_folder_belongs(prefix):
    write(os.path.join(prefix, "lib"), "a file\n")


def folder_where_file_belongs(prefix):
    os.makedirs(os.path.join(prefix, "lib/libx.so.1.0"))


def read_only_include(prefix):
    older_header(prefix)
    os.makedirs(os.path.join(prefix, "include/WEQBarCode"), exist_ok=True)
    os.chmod(os.path.join(prefix, "include/WEQBarCode"), 0o555)


STAGE = None

# name, prefix set-up, copy function, error expected (None: success), files written
ROWS = [
    ("fresh prefix gets every file and link", nothing, shutil.copy2, None, 5),
    ("second install writes nothing", installed_once, shutil.copy2, None, 0),
    ("older file is replaced", older_header, shutil.copy2, None, 5),
    ("prefix that is a file", prefix_is_a_file, shutil.copy2, "is a file, not a folder", 0),
    ("file where a folder belongs", file_where_folder_belongs, shutil.copy2, "a file where a folder belongs", 0),
    ("folder where a file belongs", folder_where_file_belongs, shutil.copy2, "a folder where a file belongs", 0),
    ("folder without write permission", read_only_include, shutil.copy2, "cannot write into", 0),
    ("copy failing half-way into a used prefix", older_header, failing_copy(2), "is as it was before", 0),
    ("copy failing half-way into a new prefix", nothing, failing_copy(1), "is as it was before", 0),
]


class InstallTreeTest(unittest.TestCase):
    def test_rows(self):
        global STAGE
        for name, arrange, copy, error, written in ROWS:
            with self.subTest(name), tempfile.TemporaryDirectory() as scratch:
                try:
                    STAGE = os.path.join(scratch, "stage")
                    make_stage(STAGE)
                    self.check_row(os.path.join(scratch, "new", "prefix"), arrange, copy, error, written)
                finally:
                    for folder, _, _ in os.walk(scratch):
                        os.chmod(folder, 0o755)

    def check_row(self, prefix, arrange, copy, error, written):
        arrange(prefix)
        if arrange is read_only_include and os.geteuid() == 0:
            self.skipTest("root writes anywhere; the test command runs this unprivileged")
        before = snapshot(prefix)
        if error:
            with self.assertRaises(install_tree.InstallError) as caught:
                install_tree.install(STAGE, prefix, copy)
            self.assertIn(error, str(caught.exception))
            self.assertEqual(snapshot(prefix), before, "the prefix changed")
            if before is None:
                self.assertFalse(os.path.lexists(os.path.dirname(prefix)), "folders were left")
            return
        self.assertEqual(install_tree.install(STAGE, prefix, copy)[0], written)
        after, stage = snapshot(prefix), snapshot(STAGE)
        for rel, what in stage.items():
            # Same kind, content or link target, time and mode.
            self.assertEqual(after[rel][:3] + after[rel][-1:], what[:3] + what[-1:], rel)
        self.assertEqual(set(after), set(stage), "stray files in the prefix")
        if written == 0:
            self.assertEqual(after, before, "an up-to-date install touched files")

if __name__ == "__main__":
    unittest.main()
