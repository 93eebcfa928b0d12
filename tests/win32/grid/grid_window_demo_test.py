"""Drives the grid window demo with real X key presses (xdotool): edits a cell, sorts and
sends an application command through the menu's accelerators, finds a cell with Ctrl+F
and goes to one with Ctrl+G through the grid's prompts, adds a row by moving past the
last one, resizes the window, and checks the events and the grid as the demo saves it
after each change; then the same in read-only mode, where nothing can be changed."""
import csv
import os
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from x11_harness import FAILURES, Log, check, expect_exit, screenshot, xdotool  # noqa: E402
from grid_prompts import answer_prompt  # noqa: E402

DEMO = sys.argv[1]
SHOTS = sys.argv[2] if len(sys.argv) > 2 and sys.argv[2] else None
EDITED = [10, 0, 0, 0]  # a field-edited event of window 0, field 0


def saved_rows(path):
    try:
        with open(path, newline="", encoding="latin-1") as f:
            return list(csv.reader(f, strict=True))
    except OSError:
        return []


def centre(rect):
    left, top, right, bottom = rect
    return str((left + right) // 2), str((top + bottom) // 2)


def start(mode):
    workdir = tempfile.mkdtemp(prefix="grid-window-")
    log_path = os.path.join(workdir, "events.log")
    saved = os.path.join(workdir, "saved.csv")
    demo = subprocess.Popen(["wine", DEMO, "--log", "Z:" + log_path, "--csv", "Z:" + saved, "--mode", str(mode)],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    log = Log(log_path)
    ready = log.wait_line("ready", timeout=60)
    check(ready is not None, f"the demo opened its grid window in mode {mode}")
    if ready is None:
        demo.kill()
        return None
    check(any(line == "setup 0" for line in log.lines()), "the grid window was set up without errors")
    cells = {}
    for line in log.lines():
        words = line.split()
        if words[0] == "cell":
            cells[(int(words[1]), int(words[2]))] = [int(w) for w in words[3:]]
    window = xdotool("search", "--name", "^Grid window demo$").split()
    if window:
        xdotool("windowfocus", window[-1])
    time.sleep(0.5)
    log.events()
    return demo, log, saved, cells, window[-1] if window else None


def finish(demo, log):
    xdotool("key", "F12")
    expect_exit(demo, "the Exit accelerator")
    check(log.wait_line("after-shutdown 1006", timeout=5) is not None,
          "after WindowShutdown the grid window's grid is gone (1006)")


def editable_run():
    started = start(1)
    if started is None:
        return
    demo, log, saved, cells, window = started

    xdotool("mousemove", *centre(cells[(1, 1)]), "click", "1")
    xdotool("type", "--delay", "80", "plum")
    xdotool("key", "Return")
    got = log.events()
    check(got.count(EDITED) == 1, f"typing into a cell and Return: one field-edited event of window 0, got {got}")
    check([r[0] for r in saved_rows(saved)[1:]] == ["plum", "apple", "cherry"], "the cell holds what was typed")

    xdotool("key", "F5")
    got = log.events()
    check(got.count(EDITED) == 1, f"F5 (Sort ascending of the menu) reaches the grid, got {got}")
    check([r[0] for r in saved_rows(saved)[1:]] == ["apple", "cherry", "plum"],
          f"the rows are sorted by the fruit, got {saved_rows(saved)}")

    xdotool("key", "F9")
    got = log.events()
    check(got == [[2, 0, 9001, -1]], f"F9 (an application command) reaches the application, got {got}")

    xdotool("key", "ctrl+f")
    answer_prompt("Find", "CHER")
    xdotool("type", "--delay", "80", "kiwi")
    xdotool("key", "Return")
    got = log.events()
    check(got.count(EDITED) == 1 and [r[0] for r in saved_rows(saved)[1:]] == ["apple", "kiwi", "plum"],
          f"Ctrl+F finds cherry and the typing lands in its cell, got {got} {saved_rows(saved)}")

    xdotool("key", "Down", "Down")
    got = log.events()
    rows = saved_rows(saved)
    check(got.count(EDITED) == 1 and len(rows) == 5, f"Down past the last row adds a row, got {got} {rows}")

    xdotool("type", "--delay", "80", "fig")  # into the new row, and Ctrl+G while editing
    xdotool("key", "ctrl+g")
    answer_prompt("Go to cell", "2, 1")
    xdotool("type", "--delay", "80", "42")
    xdotool("key", "Return")
    log.events()
    rows = saved_rows(saved)
    check(rows[4][0] == "fig", f"Ctrl+G in a cell's editor keeps the text first, got {rows}")
    check(rows[1][:2] == ["apple", "42"], f"Ctrl+G goes to column 2 of row 1, got {rows}")

    if window:
        xdotool("windowsize", window, "640", "360")
        line = log.wait_line("sizes", timeout=10)
        words = line.split()[1:] if line else []
        check(len(words) == 4 and words[:2] == words[2:] and int(words[0]) > 500,
              f"the grid window follows the window's new size, got {line}")
    if SHOTS:
        time.sleep(0.5)
    screenshot(SHOTS, "grid-window.png")
    finish(demo, log)


def read_only_run():
    started = start(2)
    if started is None:
        return
    demo, log, saved, cells, _ = started
    xdotool("mousemove", *centre(cells[(1, 1)]), "click", "1")
    xdotool("type", "--delay", "80", "zzz")
    xdotool("key", "Return", "space", "Down", "Down", "Down")
    got = log.events()
    check(EDITED not in got and saved_rows(saved) == [], f"a read-only grid window takes no changes, got {got}")
    xdotool("key", "F6")
    got = log.events()
    check(got.count(EDITED) == 1 and [r[0] for r in saved_rows(saved)[1:]] == ["pear", "cherry", "apple"],
          f"a read-only grid can still be sorted, got {saved_rows(saved)}")
    finish(demo, log)


def main():
    editable_run()
    read_only_run()
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
