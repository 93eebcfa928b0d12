"""Drives the numeric field demo with real X key presses and mouse clicks (xdotool) and
checks the beeps, focus, events and values the field routines read back."""
import os
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from x11_harness import FAILURES, check, expect_exit, screenshot, start_demo, xdotool  # noqa: E402

DEMO = sys.argv[1]
SHOTS = sys.argv[2] if len(sys.argv) > 2 and sys.argv[2] else None

INT_RANGED, INT_SPIN, INT_SPIN_TOP, REAL, REAL_SPIN, DOUBLE, DOUBLE_SPIN = range(301, 308)
INT_OPTION, INT_FREE, PLAIN, INT_SPIN_FAST, READONLY_SPIN, READONLY_INT_SPIN = range(308, 314)
OK, CANCEL, CLOSE = 1, 2, 399


class Demo:
    """What the demo's log says: rectangles, and the latest focus and values."""

    def __init__(self, log):
        self.log = log
        self.rects, self.updowns = {}, {}
        self.focus = None
        self.values = {}
        for line in log.lines():
            words = line.split()
            if words[0] == "rect":
                self.rects[int(words[1])] = [int(w) for w in words[2:6]]
            elif words[0] == "updown":
                self.updowns[int(words[1])] = [int(w) for w in words[2:8]]
        log.seen = 0  # the focus and values logged before "ready"
        self.settle()

    def settle(self, quiet=0.7, timeout=8):
        """Reads the log until it has been quiet; returns the beeps and events seen."""
        beeps, events = [], []
        end = time.time() + timeout
        last = time.time()
        while time.time() < end and time.time() - last < quiet:
            lines = self.log.lines()
            while self.log.seen < len(lines):
                words = lines[self.log.seen].split(" ")
                self.log.seen += 1
                last = time.time()
                if words[0] == "beep":
                    beeps.append(int(words[1]))
                elif words[0] == "event" and int(words[1]) not in (7, 8):
                    events.append([int(w) for w in words[1:]])
                elif words[0] == "focus":
                    self.focus = [int(w) for w in words[1:]]
                elif words[0] == "value":
                    self.values[int(words[1])] = {
                        "int": int(words[2]), "int_code": int(words[3]), "real": float(words[4]),
                        "real_code": int(words[5]), "stored": float(words[6]),
                        "text": " ".join(words[7:])}
            time.sleep(0.05)
        return beeps, events

    def centre(self, ident):
        left, top, right, bottom = self.rects[ident]
        return str((left + right) // 2), str((top + bottom) // 2)

    def click(self, ident):
        xdotool("mousemove", *self.centre(ident), "click", "1")
        return self.settle()

    def arrow(self, ident, up=True):
        left, top, right, bottom = self.updowns[ident][:4]
        y = top + (bottom - top) // 4 if up else bottom - (bottom - top) // 4 - 1
        return str((left + right) // 2), str(y)

    def text(self, ident):
        return self.values[ident]["text"]


def keys(demo, *names):
    xdotool("key", "--delay", "80", *names)
    return demo.settle()


def type_text(demo, text):
    xdotool("type", "--delay", "120", "--", text)
    return demo.settle()


def replace_text(demo, ident, text):
    """Clicks the field, selects all with Ctrl+A and types text (nothing for an empty text)."""
    demo.click(ident)
    keys(demo, "ctrl+a")
    if text:
        return type_text(demo, text)
    return keys(demo, "BackSpace")


def buttons(events):
    return [e for e in events if e[0] == 3]


def check_layout(demo):
    spins = {INT_SPIN, INT_SPIN_TOP, REAL_SPIN, DOUBLE_SPIN, INT_SPIN_FAST, READONLY_SPIN, READONLY_INT_SPIN}
    check(set(demo.updowns) == spins, f"an up-down beside every spin field and no other, got {sorted(demo.updowns)}")
    for ident in spins & set(demo.updowns):
        left, top, right, bottom, visible, enabled = demo.updowns[ident]
        field = demo.rects[ident]
        check(left == field[2] and top == field[1] and visible == 1,
              f"up-down of {ident} visible at the field's right edge: {demo.updowns[ident]} / {field}")
        check(enabled == (0 if ident in (READONLY_SPIN, READONLY_INT_SPIN) else 1),
              f"up-down of {ident} enabled only when the field is not read-only")
    check(demo.focus == [INT_RANGED, 0, 1], f"the first field has the focus, text selected: {demo.focus}")
    check(demo.values[REAL_SPIN]["real"] == 1.5 and demo.values[REAL]["int_code"] == 1010,
          f"initial values read back (1.5; an empty field is undefined): {demo.values[REAL_SPIN]}, {demo.values[REAL]}")


def check_keys(demo):
    demo.click(INT_RANGED)
    beeps, _ = keys(demo, "End", "x")
    check(beeps == [1] and demo.text(INT_RANGED) == "5", f"'x' in an integer field: one key beep, text kept: {beeps}")
    replace_text(demo, INT_FREE, "-3")
    beeps, _ = keys(demo, "Tab")
    check(beeps == [] and demo.values[INT_FREE]["int"] == -3, f"'-' is taken: -3 reads back, got {demo.values[INT_FREE]}")
    beeps, _ = replace_text(demo, REAL, "2e3")
    check(beeps == [] and demo.text(REAL) == "2E3", f"'e' in a real field shows 'E': {demo.text(REAL)!r}")
    keys(demo, "Tab")
    check(demo.values[REAL]["real"] == 2000.0 and demo.text(REAL) not in ("", "2E3"),
          f"leaving rewrites the real text in its display form: {demo.values[REAL]}")
    replace_text(demo, DOUBLE, "1d2")
    check(demo.text(DOUBLE) == "1D2" and demo.values[DOUBLE]["real"] == 100.0,
          f"'d' in a double field shows 'D': {demo.values[DOUBLE]}")
    keys(demo, "Tab")


def check_range(demo):
    replace_text(demo, INT_RANGED, "11")
    beeps, events = keys(demo, "Tab")
    check(beeps == [2], f"11 in a 1..10 field left by Tab: one alert, got {beeps}")
    check(demo.focus == [INT_RANGED, 0, 2], f"the focus comes back with the text selected: {demo.focus}")
    check(demo.values[INT_RANGED]["int"] == 5, f"the invalid value is not stored: {demo.values[INT_RANGED]}")

    beeps, events = demo.click(CANCEL)
    check(beeps == [] and [e[2] for e in buttons(events)] == [CANCEL],
          f"clicking Cancel goes ahead: EvButton 2, no beep: {beeps} {events}")
    check(demo.text(INT_RANGED) == "5" and demo.values[INT_RANGED]["int"] == 5,
          f"Cancel restores the last valid text: {demo.values[INT_RANGED]}")

    replace_text(demo, INT_RANGED, "11")
    beeps, events = demo.click(OK)
    check(beeps == [2] and buttons(events) == [], f"clicking OK: one alert and no event: {beeps} {events}")
    check(demo.focus == [INT_RANGED, 0, 2], f"OK gives the focus back to the field: {demo.focus}")
    beeps, events = keys(demo, "Return")
    check(beeps == [2] and buttons(events) == [], f"Enter in the invalid field: alert, no event: {beeps} {events}")

    beeps, _ = replace_text(demo, INT_RANGED, "")
    beeps, _ = keys(demo, "Tab")
    check(beeps == [2] and demo.focus[0] == INT_RANGED,
          f"an emptied field with a range that held a value is refused: {beeps} {demo.focus}")
    type_text(demo, "6")
    beeps, _ = keys(demo, "Tab")
    check(beeps == [] and demo.focus[0] == INT_SPIN and demo.values[INT_RANGED]["int"] == 6,
          f"6 is taken and Tab moves on: {beeps} {demo.focus} {demo.values[INT_RANGED]}")

    replace_text(demo, INT_OPTION, "")
    beeps, _ = keys(demo, "Tab")
    check(beeps == [] and demo.focus[0] == INT_FREE and demo.values[INT_OPTION]["int_code"] == 1010,
          f"with option 4 the empty field is valid and reads as undefined: {beeps} {demo.values[INT_OPTION]}")
    replace_text(demo, INT_FREE, "")
    beeps, _ = keys(demo, "Tab")
    check(beeps == [] and demo.values[INT_FREE]["stored"] == 0.0 and demo.values[INT_FREE]["int_code"] == 1010,
          f"an emptied field without a range is valid, its value 0: {beeps} {demo.values[INT_FREE]}")
    beeps, events = keys(demo, "Return")
    check([e[2] for e in buttons(events)] == [OK], f"Enter in the plain field presses OK: {events}")


def check_not_numbers(demo):
    replace_text(demo, DOUBLE, "1-")
    check(demo.values[DOUBLE]["real_code"] == 12 and demo.values[DOUBLE]["int_code"] == 12,
          f"'1-' never reads back as a value: {demo.values[DOUBLE]}")
    beeps, _ = keys(demo, "Tab")
    check(beeps == [2] and demo.focus[0] == DOUBLE, f"leaving '1-' is refused: {beeps} {demo.focus}")
    demo.click(CANCEL)
    check(demo.text(DOUBLE) == "100.00", f"Cancel restores the last valid double text: {demo.values[DOUBLE]}")
    replace_text(demo, INT_FREE, "--5")
    check(demo.text(INT_FREE) == "--5" and demo.values[INT_FREE]["int_code"] == 12,
          f"'--5' is undefined: {demo.values[INT_FREE]}")
    keys(demo, "ctrl+a")
    type_text(demo, "99999999999")
    check(demo.text(INT_FREE) == "99999999999" and demo.values[INT_FREE]["int_code"] == 1010,
          f"an integer beyond 32 bits is undefined: {demo.values[INT_FREE]}")
    beeps, _ = keys(demo, "Tab")
    check(beeps == [2] and demo.focus[0] == INT_FREE, f"and refused on leaving: {beeps} {demo.focus}")
    keys(demo, "ctrl+a")
    type_text(demo, "12")
    keys(demo, "Tab")


def check_plain(demo):
    demo.click(PLAIN)
    type_text(demo, "abc")
    keys(demo, "ctrl+a")
    type_text(demo, "z")
    beeps, events = keys(demo, "Return")
    check([e[2] for e in buttons(events)] == [OK], f"Ctrl+A and Enter in a plain field: EvButton 1, got {events}")


def check_spins(demo):
    xdotool("mousemove", *demo.arrow(INT_SPIN), "click", "1")
    beeps, events = demo.settle()
    check(demo.text(INT_SPIN) == "4", f"base 0 step 2 at 3 steps up to 4: {demo.values[INT_SPIN]}")
    check([10, 300, INT_SPIN, INT_SPIN] in events, f"the step is a field change of 302: {events}")
    check(demo.focus[0] == INT_SPIN, f"a click on the arrows gives the field the focus: {demo.focus}")
    replace_text(demo, INT_SPIN, "7")
    xdotool("mousemove", *demo.arrow(INT_SPIN), "click", "1")
    demo.settle()
    check(demo.text(INT_SPIN) == "8", f"a typed 7 steps from 7: 9, snapped to 8: {demo.values[INT_SPIN]}")
    xdotool("mousemove", *demo.arrow(INT_SPIN_TOP), "click", "1")
    demo.settle()
    check(demo.text(INT_SPIN_TOP) == "10" and demo.values[INT_SPIN_TOP]["int"] == 10,
          f"at 9 with upper bound 10 the step stops at 10: {demo.values[INT_SPIN_TOP]}")
    xdotool("mousemove", *demo.arrow(INT_SPIN_TOP, up=False), "click", "1")
    demo.settle()
    check(demo.text(INT_SPIN_TOP) == "8", f"and steps down to 8: {demo.values[INT_SPIN_TOP]}")
    xdotool("mousemove", *demo.arrow(DOUBLE_SPIN), "click", "1")
    demo.settle()
    check(demo.values[DOUBLE_SPIN]["real"] == 1.0, f"a double spin clamps at its upper bound 1: {demo.values[DOUBLE_SPIN]}")
    xdotool("mousemove", *demo.arrow(REAL_SPIN, up=False), "click", "1")
    demo.settle()
    check(demo.text(REAL_SPIN) == "1.00", f"a real spin steps by 0.5 in its format (F8.2): {demo.values[REAL_SPIN]}")

    xdotool("mousemove", *demo.arrow(INT_SPIN_FAST), "click", "1")
    demo.settle()
    check(demo.text(INT_SPIN_FAST) == "1", f"one click steps by the small step: {demo.values[INT_SPIN_FAST]}")
    xdotool("mousedown", "1")
    time.sleep(3.2)
    xdotool("mouseup", "1")
    demo.settle()
    value = demo.values[INT_SPIN_FAST]["int"]
    check(value >= 100 and value % 100 == 0, f"held 3 s the arrow steps by the large step 100: {value}")
    demo.click(INT_SPIN_FAST)
    keys(demo, "Up")
    check(demo.values[INT_SPIN_FAST]["int"] == value + 1, f"the Up key steps the field: {demo.values[INT_SPIN_FAST]}")
    for ident, shown in ((READONLY_INT_SPIN, "42"), (READONLY_SPIN, "8")):
        demo.click(ident)
        _, events = keys(demo, "Up", "Up", "Down", "Prior", "Next")
        xdotool("click", "4")  # the wheel, forwards
        events += demo.settle()[1]
        check(demo.text(ident) == shown and demo.values[ident]["real"] == float(shown)
              and [10, 300, ident, ident] not in events,
              f"keys and the wheel leave read-only spin {ident} at {shown}, no change event: "
              f"{demo.values[ident]} {events}")


def run_checks(demo):
    check_layout(demo)
    check_keys(demo)
    check_range(demo)
    check_not_numbers(demo)
    check_plain(demo)
    check_spins(demo)
    screenshot(SHOTS, "numeric-demo.png")


def main():
    demo_process, log, ready = start_demo(DEMO, "numeric-demo", "demo shows the numeric fields")
    if ready is None:
        return 1
    window = xdotool("search", "--name", "^Numeric fields$").split()
    if window:
        xdotool("windowfocus", window[-1])
    demo = Demo(log)
    try:
        run_checks(demo)
    except Exception:
        demo_process.kill()  # a broken check must not leave the demo running
        raise
    demo.click(CLOSE)
    expect_exit(demo_process, "the Close button")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
