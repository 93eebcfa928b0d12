"""Drives the dialog demo with real X key presses and mouse clicks (xdotool) and checks
the events and field texts the dialog manager delivered."""
import os
import subprocess
import sys
import tempfile
import time

DEMO = sys.argv[1]
SHOTS = sys.argv[2] if len(sys.argv) > 2 and sys.argv[2] else None
FAILURES = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        FAILURES.append(what)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20).stdout


class Log:
    def __init__(self, path):
        self.path = path
        self.seen = 0

    def lines(self):
        try:
            with open(self.path, encoding="latin-1") as f:
                return [line.strip() for line in f if line.strip()]
        except OSError:
            return []

    def wait_line(self, prefix, timeout=20):
        end = time.time() + timeout
        while time.time() < end:
            lines = self.lines()
            for i in range(self.seen, len(lines)):
                if lines[i].startswith(prefix):
                    self.seen = i + 1
                    return lines[i]
            time.sleep(0.05)
        return None

    def events(self, quiet=0.8, timeout=5):
        """Every event line until none has come for `quiet` seconds, repaints dropped."""
        found = []
        end = time.time() + timeout
        last = time.time()
        while time.time() < end and time.time() - last < quiet:
            lines = self.lines()
            while self.seen < len(lines):
                line = lines[self.seen]
                self.seen += 1
                last = time.time()
                if line.startswith("event "):
                    words = [int(w) for w in line.split()[1:]]
                    if words[0] not in (7, 8):
                        found.append(words)
                elif line.startswith("text "):
                    found.append(line)
            time.sleep(0.05)
        return found


def centre(rects, ident):
    left, top, right, bottom = rects[ident]
    return str((left + right) // 2), str((top + bottom) // 2)


def main():
    workdir = tempfile.mkdtemp(prefix="dialog-demo-")
    log_path = os.path.join(workdir, "events.log")
    demo = subprocess.Popen(["wine", DEMO, "--log", "Z:" + log_path],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    log = Log(log_path)
    ready = log.wait_line("ready", timeout=60)
    check(ready is not None, "demo opened the fields dialog")
    if ready is None:
        demo.kill()
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

    if SHOTS:
        os.makedirs(SHOTS, exist_ok=True)
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, "dialog-demo.png")],
                       capture_output=True, timeout=30)

    xdotool("mousemove", *centre(rects, 204), "click", "1")
    try:
        demo.wait(timeout=20)
        check(demo.returncode == 0, "the Other button ends the demo normally")
    except subprocess.TimeoutExpired:
        demo.kill()
        check(False, "the Other button ends the demo")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
