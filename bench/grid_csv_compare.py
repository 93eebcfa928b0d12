"""Times the grid file loader and saver beside pandas.read_csv (C engine) and Python's
csv module on the same 100,000-row x 10-column file, in one run.

usage: grid_csv_compare.py BUILD_DIR   (the native build holding bench/grid_csv_bench)
"""
import csv
import json
import os
import subprocess
import sys
import tempfile
import time

import pandas


def best_of(runs, action):
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        action()
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best * 1000.0


def main():
    build = sys.argv[1]
    work = tempfile.mkdtemp(prefix="grid_bench_")
    data = os.path.join(work, "grid.csv")
    env = dict(os.environ, GRID_BENCH_FILE=data)
    # Five repetitions, the best one, as for the Python readers and writers below.
    result = subprocess.run([os.path.join(build, "bench", "grid_csv_bench"), "--benchmark_format=json",
                             "--benchmark_repetitions=5", "--benchmark_min_time=0.5"],
                            env=env, check=True, capture_output=True, text=True)
    ours = {}
    for run in json.loads(result.stdout)["benchmarks"]:
        if run.get("run_type") == "iteration":
            name = run["name"].split("/")[0]
            ours[name] = min(ours.get(name, float("inf")), run["real_time"])

    def pandas_load():
        pandas.read_csv(data, engine="c")

    rows = []

    def csv_load():
        rows.clear()
        with open(data, newline="", encoding="latin-1") as source:
            rows.extend(csv.reader(source))

    csv_load()
    target = os.path.join(work, "python.csv")

    def csv_save():
        with open(target, "w", newline="", encoding="latin-1") as out:
            csv.writer(out, lineterminator="\r\n").writerows(rows)

    pandas_ms = best_of(5, pandas_load)
    csv_load_ms = best_of(5, csv_load)
    csv_save_ms = best_of(5, csv_save)
    size = os.path.getsize(data) / 1e6
    print("file: %d lines, %.1f MB" % (len(rows), size))
    print("%-34s %9s" % ("best of 5", "ms"))
    print("%-34s %9.1f" % ("WGridLoad (converts, formats)", ours["BM_GridLoad"]))
    print("%-34s %9.1f" % ("pandas.read_csv (C engine)", pandas_ms))
    print("%-34s %9.1f" % ("csv.reader (lists of strings)", csv_load_ms))
    print("%-34s %9.1f" % ("WGridSave", ours["BM_GridSave"]))
    print("%-34s %9.1f" % ("csv.writer", csv_save_ms))
    print("load vs pandas: %.2fx as fast; save vs csv.writer: %.2fx as fast" % (
        pandas_ms / ours["BM_GridLoad"], csv_save_ms / ours["BM_GridSave"]))
    for name in os.listdir(work):
        os.remove(os.path.join(work, name))
    os.rmdir(work)


if __name__ == "__main__":
    main()
