#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

"""Generates ean/IsbnRangeData.h, the registration groups' and registrants'
ranges that hyphenate ISBNs, and the publisher ranges of ISMNs, from the range
list of the npm package isbn3 (MIT licence, so that the table the library
compiles in is under the same terms as the library):

    /usr/bin/python3 tools/make_isbn_ranges.py [lib/groups.js] > ean/IsbnRangeData.h

Without an argument the script fetches isbn3 at the pinned version with
`npm pack` and checks the tarball against the pinned digest; a newer list is
a new pin. lib/groups.js is a JavaScript object literal: for each group
("978-0", "979-10") its agency's name and its registrant ranges, each range's
bounds as many digits as the registrant element has. Digits no range covers
are not assigned.

In the table, each group's ranges are steps over the seven digits after the
group, padded with zeros: from Start on the registrant element has Length
digits, until the next step; Length 0 marks what no range covers. The list
has no ISMN ranges: those of 979-0 are ISMN_RANGES below, the publisher
element's length by its first digits as the ISMN agency assigns them (3 digits
from 000, 4 from 1000, 5 from 40000, 6 from 700000, 7 from 9000000), which
covers every number.
"""
import base64
import hashlib
import json
import re
import subprocess
import sys
import tarfile
import tempfile

ISBN3 = "isbn3@2.0.11"
ISBN3_SHA512 = "lfywKiZtT93v5v5UQbZcjhrdRrq46lsPXJZEVp/IHGu2s45Qfra6lVXCYMXHW4KcfywdOo2UmZyv1+k6tzX04Q=="
ISBN3_NOTICE = "isbn3 2.0.11, lib/groups.js: Copyright (c) 2025 inventaire, MIT licence"
SPAN = 7  # digits a step's Start is written in
ISMN_RANGES = [("000", "099"), ("1000", "3999"), ("40000", "69999"), ("700000", "899999"), ("9000000", "9999999")]


def fetch_groups_js():
    """lib/groups.js of the pinned isbn3, as text."""
    with tempfile.TemporaryDirectory() as folder:
        name = subprocess.run(["npm", "pack", "--silent", ISBN3], cwd=folder, check=True,
                              capture_output=True, text=True).stdout.split()[-1]
        data = open(f"{folder}/{name}", "rb").read()
        if base64.b64encode(hashlib.sha512(data).digest()).decode() != ISBN3_SHA512:
            raise SystemExit(f"{name} does not have the pinned digest")
        with tarfile.open(f"{folder}/{name}") as tar:
            return tar.extractfile("package/lib/groups.js").read().decode("utf-8")


def read_groups(text):
    """[prefix digits, agency, ranges] of each group of a groups.js."""
    body = text[text.index("module.exports =") + len("module.exports ="):]

    # The literal as JSON: single-quoted strings and bare keys quoted.
    def token(m):
        if m.group(1) is not None:
            return json.dumps(re.sub(r"\\(.)", r"\1", m.group(1)))
        return f'"{m.group(2)}"'
    groups = json.loads(re.sub(r"'((?:[^'\\]|\\.)*)'|\b(name|ranges)\b(?=\s*:)", token, body))
    result = []
    for key, group in groups.items():
        if not re.fullmatch(r"97[89]-[0-9]+", key):
            raise SystemExit(f"unexpected group {key!r}")
        ranges = [tuple(r) for r in group["ranges"]]
        for first, last in ranges:
            if not (first.isdigit() and last.isdigit() and len(first) == len(last) and first <= last):
                raise SystemExit(f"bad range {first}-{last} in {key}")
        result.append([key.replace("-", ""), group["name"], ranges])
    return result


def steps_of(ranges, digits_left):
    """The steps over SPAN digits of a group's ranges; checks they do not overlap and leave a publication digit."""
    steps, covered = [], 0
    for first, last in sorted(ranges, key=lambda r: r[0].ljust(SPAN, "0")):
        length = len(first)
        if length >= digits_left:
            raise SystemExit(f"range {first}-{last} leaves no publication digit")
        start, end = int(first.ljust(SPAN, "0")), int(last.ljust(SPAN, "9"))
        if start < covered:
            raise SystemExit(f"range {first}-{last} overlaps the one before")
        if start > covered:
            steps.append((covered, 0))
        steps.append((start, length))
        covered = end + 1
    if covered < 10 ** SPAN:
        steps.append((covered, 0))
    return steps


def check_groups(groups):
    prefixes = [g[0] for g in groups]
    for prefix in prefixes:
        if any(other != prefix and other.startswith(prefix) for other in prefixes):
            raise SystemExit(f"group {prefix} begins another group")


def main():
    text = open(sys.argv[1], encoding="utf-8").read() if len(sys.argv) > 1 else fetch_groups_js()
    groups = read_groups(text)
    check_groups(groups)
    if any(g[0].startswith("9790") for g in groups):
        raise SystemExit("the list has ranges of 979-0; use them instead of ISMN_RANGES")
    groups.append(["9790", "ISMN", ISMN_RANGES])
    groups.sort(key=lambda g: g[0])

    table, rows = [], []
    for prefix, agency, ranges in groups:
        steps = steps_of(ranges, 12 - len(prefix))
        rows.append((prefix, len(table), len(steps), agency))
        table.extend(steps)
    if len(table) >= 1 << 16:
        raise SystemExit("too many steps for the group table's 16-bit indices")

    out = sys.stdout
    out.write("// Generated, do not edit; regenerate: "
              "/usr/bin/python3 tools/make_isbn_ranges.py > ean/IsbnRangeData.h\n")
    out.write(f"// From {ISBN3_NOTICE}; the International ISBN Agency's range list.\n")
    out.write("// 979-0 (ISMN): the publisher element is 3 digits from 000, 4 from 1000, 5 from 40000, "
              "6 from 700000, 7 from 9000000.\n")
    out.write("// Included by ean/Book.cpp only.\n\n")
    out.write("#pragma once\n\n#include <cstdint>\n\nnamespace WEQEan::BookRanges {\n\n")
    out.write("// From Start on (the seven digits after the group, padded with zeros) the registrant element\n"
              "// has Length digits, up to the next step of the group; Length 0: not assigned.\n")
    out.write("struct TRangeStep {\n    std::uint32_t Start : 24, Length : 8;\n};\n\n")
    out.write("// The EAN prefix and registration group, and where its steps lie in RangeSteps.\n")
    out.write("struct TRangeGroup {\n    char Prefix[9];\n    std::uint16_t First, Count;\n};\n\n")
    out.write(f"inline constexpr TRangeStep RangeSteps[{len(table)}] = {{\n")
    for i in range(0, len(table), 6):
        out.write("    " + " ".join(f"{{{start}, {length}}}," for start, length in table[i:i + 6]) + "\n")
    out.write("};\n\n")
    out.write(f"// Sorted by prefix; no prefix begins another.\ninline constexpr TRangeGroup RangeGroups[{len(rows)}] = {{\n")
    for prefix, first, count, agency in rows:
        out.write(f'    {{"{prefix}", {first}, {count}}}, // {agency}\n')
    out.write("};\n\n} // namespace WEQEan::BookRanges\n")
    sys.stderr.write(f"{len(rows)} groups, {len(table)} steps: {len(rows) * 14 + len(table) * 4} bytes\n")


if __name__ == "__main__":
    main()
