#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

"""Runs the benchmarks once and prints the side-by-side table as ratios.

    bench/report.py BUILD_DIR

Times are medians of three repetitions, those of the per-call row the best
of five; every ratio in a row comes from the same run."""
import json
import subprocess
import sys


ENV = {"QT_QPA_PLATFORM": "offscreen", "PATH": "/usr/bin:/bin"}
# In the order of bench/peers_bench.cpp's FastPaths.
FAST_PATHS = ("direct pixels", "vector copy", "block copy", "text cache", "text cache: recent", "text cache: characters",
              "thread buffers", "layout memo")


def timings(binary, args):
    """Each benchmark entry of a run as (entry, microseconds)."""
    out = subprocess.run([binary, "--benchmark_format=json", *args], check=True, capture_output=True, text=True,
                         env=ENV).stdout
    for b in json.loads(out)["benchmarks"]:
        yield b, b["real_time"] * {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]


def run(binary, extra=()):
    """The median of three repetitions."""
    args = ["--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true", *extra]
    return {b["run_name"]: us for b, us in timings(binary, args) if b.get("aggregate_name") == "median"}


def best_of_five(binary, pattern):
    """The least of five repetitions, taken in random interleaving so that no
    benchmark gets all the quiet moments: the per-call row is measured so."""
    times = {}
    args = ["--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true", f"--benchmark_filter={pattern}"]
    for b, us in timings(binary, args):
        if b.get("run_type") == "iteration":
            times[b["run_name"]] = min(times.get(b["run_name"], float("inf")), us)
    return times


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
    # The per-call row is measured on its own, as the best of five.
    t = run(f"{build}/bench/weq_bench_peers", ["--benchmark_filter=-PerCall"])
    per_call = best_of_five(f"{build}/bench/weq_bench_peers", "(PerCall|BM_Zint)/[358]$")
    t.update(run(f"{build}/bench/weq_bench", ["--benchmark_filter=ControlRepaint|CompleteGTIN|FitNewBox|Export"]))
    try:
        t.update(run(f"{build}/bench/weq_bench_demo"))
    except (FileNotFoundError, subprocess.CalledProcessError):
        pass
    print("| module width | ours, font (us) | ours, outlines | control repaint | Zint | zxing-cpp | plain fill "
          "| ours / Zint | ours / fill |")
    print("|---|---|---|---|---|---|---|---|---|")
    for m in (1, 3, 5, 8):
        ours, zint, fill = t[f"BM_OursFont/{m}"], t[f"BM_Zint/{m}"], t[f"BM_PlainFillArea/{m}"]
        note = " (Zint draws no digits)" if m == 1 else ""
        print(f"| {m} | {ours:.1f} | {t[f'BM_OursOutlines/{m}']:.1f} | {t[f'BM_ControlRepaint/{m}']:.1f} | "
              f"{zint:.1f}{note} | {t[f'BM_ZXing/{m}']:.1f} | {fill:.1f} | {ours / zint:.2f} | {ours / fill:.1f} |")
    print()
    print("Each fast path turned off alone (BM_OursWithout): the time added to the warm drawing above, in per cent; "
          "a path that gains under 10 % at every width earns no place:")
    print()
    print("| fast path | m = 1 | m = 3 | m = 5 | m = 8 |")
    print("|---|---|---|---|---|")
    for i, name in enumerate(FAST_PATHS):
        gains = [t[f"BM_OursWithout/{i}/{m}"] / t[f"BM_OursFont/{m}"] * 100 - 100 for m in (1, 3, 5, 8)]
        print(f"| {name} | " + " | ".join(f"{g:+.0f} %" for g in gains) + " |")
    print()
    print("Per call, as a batch pays it: a canvas made on an image, DrawEan13 of a random GTIN, the canvas "
          "destroyed, against a QPainter made on the image to fill it (us, best of five):")
    print()
    print("| module width | ours per call | painter fill per call | Zint | ours / fill | ours / Zint |")
    print("|---|---|---|---|---|---|")
    for m in (3, 5, 8):
        ours, fill, zint = (per_call[f"BM_CanvasPerCall/{m}"], per_call[f"BM_PainterFillPerCall/{m}"],
                            per_call[f"BM_Zint/{m}"])
        print(f"| {m} | {ours:.1f} | {fill:.1f} | {zint:.1f} | {ours / fill:.2f} | {ours / zint:.2f} |")
    print()
    print("First paint at a new size, fitting included (us): " +
          ", ".join(f"m={m}: {t[f'BM_FirstPaint/{m}']:.0f}" for m in range(1, 13)))
    print("The same with each character's ink measured from laid-out text, not its glyph (us): " +
          ", ".join(f"m={m}: {t[f'BM_FirstPaintLaidOut/{m}']:.0f}" for m in (1, 3, 5, 8)) +
          "; with each glyph drawn alone, not a pass's together: " +
          ", ".join(f"m={m}: {t[f'BM_FirstPaintApart/{m}']:.0f}" for m in (1, 3, 5, 8)) +
          "; Zint's whole drawing: " + ", ".join(f"m={m}: {t[f'BM_Zint/{m}']:.1f}" for m in (1, 3, 5, 8)))
    print(f"CompleteGTIN: {t['BM_CompleteGTIN'] * 1000:.0f} ns")
    print("Exports of one symbol at 0.330 mm (us): " +
          ", ".join(f"{name} {t[key]:.0f}" for name, key in (("PNG 300 dpi", "BM_ExportPng/300"),
                                                            ("PNG 600 dpi", "BM_ExportPng/600"),
                                                            ("SVG", "BM_ExportSvg"), ("PDF", "BM_ExportPdf"))))
    for m in (72, 96, 97, 128):
        first, later = subprocess.run([f"{build}/bench/weq_bench_first_draw", str(m)], check=True, capture_output=True,
                                      text=True, env=ENV).stdout.split()
        print(f"Module width {m} ({113 * m} x {79 * m} pixels), fresh process: first draw {first} ms, later {later} ms")
    if "BM_DemoKeystroke" in t:
        print(f"Demo keystroke and its take-back, both redrawn: {t['BM_DemoKeystroke']:.0f} us")


if __name__ == "__main__":
    main()
