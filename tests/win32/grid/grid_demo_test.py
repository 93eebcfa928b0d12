"""Drives the grid demo with real X key presses and mouse clicks (xdotool): edits text
and numeric cells, toggles a check box, picks an option, finds a cell with Ctrl+F, loads
a file, and checks the field-edited events and the grid as the demo saves it after each
change."""
import csv
import os
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from x11_harness import FAILURES, Log, check, expect_exit, screenshot, xdotool  # noqa: E402
from grid_prompts import answer_prompt  # noqa: E402

DEMO = sys.argv[1]
SHOTS = sys.argv[2] if len(sys.argv) > 2 and sys.argv[2] else None
FIELD = 401


def saved_rows(path):
    with open(path, newline="", encoding="latin-1") as f:
        return list(csv.reader(f, strict=True))


def centre(rect):
    left, top, right, bottom = rect
    return str((left + right) // 2), str((top + bottom) // 2)


def edits(got):
    return [e for e in got if isinstance(e, list) and e[0] == 10 and e[3] == FIELD]


def main():
    workdir = tempfile.mkdtemp(prefix="grid-demo-")
    log_path = os.path.join(workdir, "events.log")
    saved = os.path.join(workdir, "saved.csv")
    loaded = os.path.join(workdir, "input.csv")
    with open(loaded, "w", newline="", encoding="latin-1") as f:
        f.write('"#","Name","Count","Done","Colour"\r\n"one","from file",7,Yes,"blue"\r\n'
                '"two","second",,No,""\r\n"three","third",100,No,"red"\r\n"four","grown",1,Yes,"green"\r\n')
    demo = subprocess.Popen(["wine", DEMO, "--log", "Z:" + log_path, "--csv", "Z:" + saved,
                             "--input", "Z:" + loaded], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    log = Log(log_path)
    ready = log.wait_line("ready", timeout=60)
    check(ready is not None, "the demo opened the grid dialog")
    if ready is None:
        demo.kill()
        return 1
    cells, rects = {}, {}
    for line in log.lines():
        words = line.split()
        if words[0] == "cell":
            cells[(int(words[1]), int(words[2]))] = [int(w) for w in words[3:]]
        elif words[0] == "rect":
            rects[int(words[1])] = [int(w) for w in words[2:]]
    window = xdotool("search", "--name", "^Grid demo$").split()
    if window:
        xdotool("windowfocus", window[-1])
    time.sleep(0.5)
    log.events()

    xdotool("mousemove", *centre(cells[(1, 1)]), "click", "1")
    xdotool("type", "--delay", "80", "Hello, \"grid\"")
    xdotool("key", "Return")
    got = log.events()
    check(len(edits(got)) == 1, f"typing into a text cell and Return: one field-edited event, got {got}")
    check(saved_rows(saved)[1][:2] == ["row 1", "Hello, \"grid\""], "the text cell holds what was typed")

    xdotool("key", "Right")
    xdotool("type", "--delay", "80", "500")
    xdotool("key", "Return")
    got = log.events()
    check(edits(got) == [], f"500 is outside 0..100: refused, no event, got {got}")
    xdotool("key", "BackSpace", "BackSpace")
    xdotool("key", "Return")
    got = log.events()
    check(len(edits(got)) == 1 and saved_rows(saved)[1][2] == "5", f"5 is taken, got {got}")

    xdotool("key", "Tab")
    xdotool("key", "space")
    got = log.events()
    check(len(edits(got)) == 1 and saved_rows(saved)[1][3] == "Yes", "Tab, then space checks the box")
    xdotool("mousemove", *centre(cells[(3, 2)]), "click", "1")
    got = log.events()
    check(len(edits(got)) == 1 and saved_rows(saved)[2][3] == "Yes", "a click checks the box of row 2")

    xdotool("mousemove", *centre(cells[(4, 1)]), "click", "1")
    time.sleep(0.5)
    xdotool("key", "Down")
    xdotool("key", "Down")
    xdotool("key", "Return")
    got = log.events()
    check(len(edits(got)) == 1 and saved_rows(saved)[1][4] == "green",
          f"the option list picks the second option, got {got} {saved_rows(saved)[1]}")

    xdotool("key", "ctrl+f")
    answer_prompt("Find", "YELLOW")
    xdotool("type", "--delay", "80", "sun")
    xdotool("key", "Return")
    got = log.events()
    check(len(edits(got)) == 1 and saved_rows(saved)[3][1] == "sun",
          f"Ctrl+F in the grid field finds the yellow cell and the typing lands there, got {got} {saved_rows(saved)}")

    screenshot(SHOTS, "grid-demo-edited.png")

    xdotool("mousemove", *centre(rects[402]), "click", "1")
    log.wait_line("loaded", timeout=10)
    rows = saved_rows(saved)
    check(rows[1] == ["one", "from file", "7", "Yes", "blue"] and rows[2] == ["two", "second", "", "No", ""]
          and rows[4] == ["four", "grown", "1", "Yes", "green"],
          f"the Load button loads the file, growing the rows, got {rows}")
    if SHOTS:
        time.sleep(0.5)
    screenshot(SHOTS, "grid-demo-loaded.png")

    xdotool("mousemove", *centre(rects[404]), "click", "1")
    check(log.wait_line("cleared", timeout=10) is not None, "the Clear button clears the field")
    rows = saved_rows(saved)
    check(len(rows) == 5 and all(row[1:] == ["", "", "No", ""] for row in rows[1:]) and rows[1][0] == "one",
          f"clearing empties every cell and keeps the rows and titles, got {rows}")

    xdotool("mousemove", *centre(rects[403]), "click", "1")
    expect_exit(demo, "the Done button")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
