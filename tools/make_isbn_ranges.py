#!/usr/bin/python3
"""Generates ean/IsbnRangeData.h, the registration groups' and registrants'
ranges that hyphenate ISBNs, and the publisher ranges of ISMNs, from the range
list Debian's python3-stdnum ships:

    /usr/bin/python3 tools/make_isbn_ranges.py [/usr/lib/python3/dist-packages/stdnum/isbn.dat] > ean/IsbnRangeData.h

The list is a tree, one node a line, its depth the line's indent: a node is a
comma-separated list of ranges ("00-19", or "7" for "7-7") and any key="value"
properties. Depth 0 is the EAN prefix (978, 979); under it a node without
properties gives the registration groups' lengths, and one node with an agency
each is a group; under a group its registrant ranges, each range's bounds as
many digits as the registrant element has. Digits no range covers are not
assigned.

In the table, each group's ranges are steps over the seven digits after the
group, padded with zeros: from Start on the registrant element has Length
digits, until the next step; Length 0 marks what no range covers. The list
has no ISMN ranges: those of 979-0 are ISMN_RANGES below, the publisher
element's length by its first digits as the ISMN agency assigns them (3 digits
from 000, 4 from 1000, 5 from 40000, 6 from 700000, 7 from 9000000), which
covers every number.
"""
import re
import sys

DEFAULT_SOURCE = "/usr/lib/python3/dist-packages/stdnum/isbn.dat"
SPAN = 7  # digits a step's Start is written in
ISMN_RANGES = [("000", "099"), ("1000", "3999"), ("40000", "69999"), ("700000", "899999"), ("9000000", "9999999")]


def parse_ranges(text):
    ranges = []
    for item in text.split(","):
        bounds = item.split("-")
        first, last = bounds[0], bounds[-1]
        if len(bounds) > 2 or not (first.isdigit() and last.isdigit() and len(first) == len(last) and first <= last):
            raise SystemExit(f"bad range {item!r}")
        ranges.append((first, last))
    return ranges


def read_tree(path):
    """The list's header comments and its nodes as (depth, ranges, properties)."""
    comments, nodes = [], []
    with open(path, encoding="utf-8") as source:
        for line in source:
            line = line.rstrip("\n")
            if line.startswith("#"):
                comments.append(line[1:].strip())
                continue
            if not line.strip():
                continue
            depth = len(line) - len(line.lstrip(" "))
            ranges, rest = (line.split(maxsplit=1) + [""])[:2]
            properties = dict(re.findall(r'(\w+)="([^"]*)"', rest))
            nodes.append((depth, parse_ranges(ranges), properties))
    return comments, nodes


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


def groups_of(nodes):
    """(prefix digits, agency, ranges) for every group, and the groups' lengths by EAN prefix."""
    groups, lengths = [], {}
    ean = group = None
    for depth, ranges, properties in nodes:
        if depth == 0:
            (ean, _), = ranges
            group = None
        elif depth == 1 and not properties:
            lengths[ean] = ranges
        elif depth == 1:
            (first, _), = ranges
            group = [ean + first, properties.get("agency", ""), []]
            groups.append(group)
        elif depth == 2 and group:
            group[2].extend(ranges)
        else:
            raise SystemExit(f"unexpected node at depth {depth}: {ranges}")
    return groups, lengths


def check_groups(groups, lengths):
    prefixes = [g[0] for g in groups]
    for prefix in prefixes:
        ean, rest = prefix[:3], prefix[3:]
        if not any(len(first) == len(rest) and first <= rest <= last for first, last in lengths.get(ean, [])):
            raise SystemExit(f"group {prefix} lies in none of {ean}'s group ranges")
        if any(other != prefix and other.startswith(prefix) for other in prefixes):
            raise SystemExit(f"group {prefix} begins another group")


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_SOURCE
    comments, nodes = read_tree(path)
    groups, lengths = groups_of(nodes)
    check_groups(groups, lengths)
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
    out.write(f"// From {path} (Debian's python3-stdnum):\n")
    for line in comments:
        out.write(f"//   {line}\n")
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
