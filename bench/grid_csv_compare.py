"""Times the grid file loader and saver beside pandas.read_csv (C engine) and Python's
csv module on the same 100,000-row x 10-column file, in one run.

The machine may be shared, so the readers and writers take turns in five rounds and
each keeps its best round; wall time and processor time are both reported.

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

ROUNDS = 5


def timed(action):
    wall, cpu = time.perf_counter(), time.process_time()
    action()
    return (time.perf_counter() - wall) * 1000.0, (time.process_time() - cpu) * 1000.0


def ours(build, env):
    """One round of the C++ benchmark: {name: (wall ms, cpu ms)}."""
    result = subprocess.run([os.path.join(build, "bench", "grid_csv_bench"), "--benchmark_format=json",
                             "--benchmark_min_time=0.3", "--benchmark_filter=BM_Grid"], env=env, check=True, capture_output=True, text=True)
    return {run["name"].split("/")[0]: (run["real_time"], run["cpu_time"])
            for run in json.loads(result.stdout)["benchmarks"]}


def main():
    build = sys.argv[1]
    work = tempfile.mkdtemp(prefix="grid_bench_")
    data = os.path.join(work, "grid.csv")
    target = os.path.join(work, "python.csv")
    env = dict(os.environ, GRID_BENCH_FILE=data)
    rows = []

    def csv_load():
        rows.clear()
        with open(data, newline="", encoding="latin-1") as source:
            rows.extend(csv.reader(source))

    def csv_save():
        with open(target, "w", newline="", encoding="latin-1") as out:
            csv.writer(out, lineterminator="\r\n").writerows(rows)

    best = {}

    def keep(name, times):
        old = best.get(name, (float("inf"), float("inf")))
        best[name] = (min(old[0], times[0]), min(old[1], times[1]))

    for _ in range(ROUNDS):
        for name, times in ours(build, env).items():
            keep(name, times)
        keep("pandas", timed(lambda: pandas.read_csv(data, engine="c")))
        keep("csv.reader", timed(csv_load))
        keep("csv.writer", timed(csv_save))

    print("file: %d lines, %.1f MB; best of %d rounds" % (len(rows), os.path.getsize(data) / 1e6, ROUNDS))
    print("%-34s %9s %9s" % ("", "wall ms", "cpu ms"))
    for label, name in (("WGridLoad (converts, formats)", "BM_GridLoad"), ("pandas.read_csv (C engine)", "pandas"),
                        ("csv.reader (lists of strings)", "csv.reader"), ("WGridSave", "BM_GridSave"),
                        ("csv.writer", "csv.writer")):
        print("%-34s %9.1f %9.1f" % (label, best[name][0], best[name][1]))
    for index, kind in ((0, "wall"), (1, "cpu")):
        print("%s: load %.2fx pandas; save %.2fx csv.writer" % (
            kind, best["pandas"][index] / best["BM_GridLoad"][index],
            best["csv.writer"][index] / best["BM_GridSave"][index]))
    for name in os.listdir(work):
        os.remove(os.path.join(work, name))
    os.rmdir(work)


if __name__ == "__main__":
    main()
