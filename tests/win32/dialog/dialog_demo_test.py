"""Drives the dialog demo with real X key presses and mouse clicks (xdotool) and checks
the events and field texts the dialog manager delivered."""
import os
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from x11_harness import FAILURES, check, expect_exit, screenshot, start_demo, xdotool  # noqa: E402

DEMO = sys.argv[1]
SHOTS = sys.argv[2] if len(sys.argv) > 2 and sys.argv[2] else None


def centre(rects, ident):
    left, top, right, bottom = rects[ident]
    return str((left + right) // 2), str((top + bottom) // 2)


def main():
    demo, log, ready = start_demo(DEMO, "dialog-demo", "demo opened the fields dialog")
    if ready is None:
        return 1
    rects = {}
    for line in log.lines():
        if line.startswith("rect "):
            words = [int(w) for w in line.split()[1:]]
            rects[words[0]] = words[1:]
    window = xdotool("search", "--name", "^Fields$").split()
    if window:
        xdotool("windowfocus", window[-1])
    time.sleep(0.5)
    log.events()

    xdotool("mousemove", *centre(rects, 201), "click", "1")
    time.sleep(0.3)
    log.events()
    xdotool("type", "--delay", "150", "ab")
    got = log.events()
    edits = [e for e in got if isinstance(e, list) and e[0] == 10]
    check(len(edits) == 2 and all(e[1:] == [200, 201, 201] for e in edits),
          f"typing two characters into the reporting field: two changes 201/201, got {got}")
    check("text 201 ab" in got, f"the field reads back 'ab', got {got}")

    xdotool("key", "Tab")
    got = log.events()
    check([e for e in got if isinstance(e, list)] == [[10, 200, 201, 202]],
          f"Tab from 201 to 202: one change 201 -> 202, got {got}")
    xdotool("type", "--delay", "100", "xy")
    got = log.events()
    check(not any(isinstance(e, list) and e[0] == 10 for e in got),
          f"typing into 202 (no change report) says nothing, got {got}")

    xdotool("key", "Escape")
    got = log.events()
    check([e for e in got if isinstance(e, list) and e[0] == 3][:1] == [[3, 200, 2, 202]],
          f"Esc: EvButton 2 with previous field 202, got {got}")

    xdotool("mousemove", *centre(rects, 205), "click", "1")
    got = log.events()
    check(any(isinstance(e, list) and e[0] == 10 and e[3] == 205 for e in got),
          f"clicking the check box is a field change to 205, got {got}")

    xdotool("mousemove", *centre(rects, 1), "click", "1")
    got = log.events()
    check(any(isinstance(e, list) and e[0] == 3 and e[2] == 1 for e in got),
          f"clicking OK gives EvButton 1, got {got}")

    screenshot(SHOTS, "dialog-demo.png")

    xdotool("mousemove", *centre(rects, 204), "click", "1")
    expect_exit(demo, "the Other button")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
