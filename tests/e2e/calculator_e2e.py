#!/usr/bin/python3
"""End-to-end test of orlixcalc.exe: drives the running calculator under Wine as a person
would (X key presses and mouse clicks through xdotool), reads the displayed number back
through the calculator's own COPY and the X clipboard (xclip), looks at the window from
outside with e2e_probe.exe, keeps screenshots, and compares many generated key sequences
with the engine's key-replay tool.

Run through run_e2e.sh, which provides the display, the Wine prefix and the model tool.
"""
import argparse
import os
import random
import signal
import subprocess
import sys
import time
from pathlib import Path

TITLE = "Orlix Calculator 2"
DESKTOP = "orlixe2e"
SCREEN = (1280, 800)  # the Wine desktop the test runs in


def x_screen_width():
    """Width of the X screen, which a plain (desktop-less) Wine window sees as its screen."""
    result = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True)
    parts = result.stdout.split()
    return int(parts[0]) if result.returncode == 0 and parts else SCREEN[0]
SENTINEL = "e2e-clipboard-sentinel"
# "препълване" in Windows-1251, as COPY puts it on the clipboard, then 6 blanks.
OVERFLOW_COPY = bytes([0xEF, 0xF0, 0xE5, 0xEF, 0xFA, 0xEB, 0xE2, 0xE0, 0xED, 0xE5]) + b" " * 6
OVERFLOW_WORD = "препълване"

BUTTONS = {
    "COPY": 40004, "Off": 2, ".": 40030, "=": 40031, "+": 40032, "-": 40033, "*": 40034,
    "/": 40035, "%": 40036, "<-": 40037, "E": 40038, "C": 40039, "M+": 40040, "M-": 40041,
    "Mc": 40042, "Mr": 40043,
}
BUTTONS.update({str(d): 40011 + d for d in range(10)})
DISPLAY_FIELD = 1002
HIDDEN_FIELD = 1003

# The ways a person can type each key (KP_ names: the numeric keypad with Num Lock on).
KEYPAD_DIGITS = [f"KP_{d}" for d in range(10)]
TYPED = {
    ".": ["period", "KP_Decimal", "Delete"],
    "+": ["plus", "KP_Add"],
    "-": ["minus", "KP_Subtract", "Insert"],
    "*": ["asterisk", "KP_Multiply"],
    "/": ["slash", "KP_Divide"],
    "=": ["equal", "Return", "KP_Enter"],
    "%": ["percent"],
    "<-": ["BackSpace"],
    "E": ["e"],
    "C": ["c"],
}
for _d in range(10):
    TYPED[str(_d)] = [str(_d), KEYPAD_DIGITS[_d]]


class CheckFailed(Exception):
    pass


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def keys(*names, delay=50):
    if names:
        xdotool("key", "--delay", str(delay), *names)


def set_clipboard(text):
    # xclip stays in the background to serve the selection: it must not hold our output.
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text.encode(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def get_clipboard():
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True)
    return result.stdout if result.returncode == 0 else None


class Snapshot:
    """What e2e_probe saw: the frame, the client area, every control, the About box."""

    def __init__(self, text):
        self.frame = None
        self.client = None
        self.controls = {}
        self.about = None
        self.about_controls = {}
        self.focus = None
        self.metrics = None
        in_about = False
        for line in text.splitlines():
            parts = line.split()
            if not parts:
                continue
            kind = parts[0]
            if kind in ("frame", "about", "control"):
                ident, rect = int(parts[1]), tuple(int(v) for v in parts[3:7])
                text_hex = parts[9] if len(parts) > 9 else "-"
                item = {"class": parts[2], "rect": rect, "visible": parts[7] == "1",
                        "enabled": parts[8] == "1",
                        "text": "" if text_hex == "-" else bytes.fromhex(text_hex).decode("utf-8")}
                if kind == "frame":
                    self.frame = item
                elif kind == "about":
                    self.about, in_about = item, True
                elif in_about:
                    self.about_controls.setdefault(ident, item)
                else:
                    self.controls.setdefault(ident, item)
            elif kind == "metrics":
                self.metrics = tuple(int(v) for v in parts[1:5])
            elif kind == "client":
                self.client = tuple(int(v) for v in parts[1:5])
            elif kind == "focus":
                self.focus = None if parts[1] == "none" else int(parts[1])


class Calculator:
    """One run of orlixcalc.exe, plain or inside a Wine virtual desktop (which draws the
    window frame with its close box)."""

    def __init__(self, opts, desktop=True):
        self.opts = opts
        self.desktop = desktop
        self.proc = None
        self.pid = None

    def start(self):
        if self.probe().frame:
            raise CheckFailed("a calculator window is already open: close it and run again")
        exe = self.opts.exe
        command = (["wine", "explorer", f"/desktop={DESKTOP},{SCREEN[0]}x{SCREEN[1]}", exe]
                   if self.desktop else ["wine", exe])
        self.proc = subprocess.Popen(command, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        deadline = time.time() + 60
        while time.time() < deadline:
            snap = self.probe()
            if snap.frame and DISPLAY_FIELD in snap.controls:
                break
            time.sleep(0.3)
        else:
            raise CheckFailed("the calculator window did not appear")
        self.pid = self._find_pid()
        if not self.desktop:
            # Without a window manager nobody gives the new window the X input focus.
            found = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"],
                                   capture_output=True, text=True)
            for window in found.stdout.split():
                subprocess.run(["xdotool", "windowfocus", window], stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        return snap

    def _find_pid(self):
        name = Path(self.opts.exe).name.lower()
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                cmdline = (entry / "cmdline").read_bytes().decode(errors="replace").lower()
                if os.getsid(int(entry.name)) != self.proc.pid:
                    continue
            except (OSError, ProcessLookupError):
                continue
            if name in cmdline and "explorer" not in cmdline:
                return int(entry.name)
        return None

    def probe(self):
        command = ["wine", self.opts.probe] + ([DESKTOP] if self.desktop else [])
        try:
            result = subprocess.run(command, capture_output=True, timeout=30)
        except subprocess.TimeoutExpired as error:
            raise CheckFailed("e2e_probe did not answer within 30 s") from error
        return Snapshot(result.stdout.decode(errors="replace"))

    def alive(self):
        if self.pid is None:
            return self.proc.poll() is None
        try:
            state = Path(f"/proc/{self.pid}/stat").read_text().split(")")[-1].split()[0]
        except OSError:
            return False
        return state != "Z"

    def wait_ended(self, timeout=15):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if not self.alive():
                return True
            time.sleep(0.2)
        return False

    def stop(self):
        if self.proc is None:
            return
        if self.proc.poll() is None:
            try:
                os.killpg(self.proc.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait()
        self.proc = None

    # ---- acting as the user ----

    def click(self, snap, control_id, about=False):
        controls = snap.about_controls if about else snap.controls
        left, top, right, bottom = controls[control_id]["rect"]
        xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1")
        time.sleep(0.15)

    def copy(self, via="ctrl+c", snap=None):
        """Presses COPY and returns the clipboard text as bytes."""
        set_clipboard(SENTINEL)
        if via == "button":
            self.click(snap, BUTTONS["COPY"])
        elif via == "menu":
            menu(("Actions", 14))
        else:
            keys(via)
        deadline = time.time() + 10
        while time.time() < deadline:
            got = get_clipboard()
            if got is not None and got != SENTINEL.encode():
                return got
            time.sleep(0.05)
        raise CheckFailed("COPY put nothing on the clipboard")

    def shot(self, snap, name, rect=None):
        self.opts.shots.mkdir(parents=True, exist_ok=True)
        left, top, right, bottom = rect or snap.frame["rect"]
        target = self.opts.shots / name
        subprocess.run(["import", "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "+repage", str(target)],
                       check=True, stderr=subprocess.DEVNULL)
        return target


MENU_ORDER = ["File", "Help", "Digits", "Actions"]


def menu(path):
    """Chooses a menu item with the keyboard: Alt+H opens Help, arrows reach the others."""
    popup, item = path
    steps = MENU_ORDER.index(popup) - MENU_ORDER.index("Help")
    names = ["alt+h"] + (["Right"] * steps if steps > 0 else ["Left"] * -steps)
    names += ["Down"] * item + ["Return"]
    keys(*names, delay=80)
    time.sleep(0.2)


def decode_clipboard(raw):
    """The copied bytes: the clipboard shows them through the system's ANSI code page."""
    text = raw.decode("utf-8", errors="replace")
    for code_page in ("cp1252", "cp1251"):
        try:
            return text.encode(code_page)
        except UnicodeEncodeError:
            continue
    return raw


class Suite:
    def __init__(self, opts):
        self.opts = opts
        self.failures = []
        self.passed = 0

    def check(self, condition, what):
        if condition:
            self.passed += 1
        else:
            self.failures.append(what)
            print(f"FAIL: {what}", flush=True)

    def expect_copy(self, calc, expected, what, via="ctrl+c", snap=None):
        got = calc.copy(via, snap)
        self.check(got == expected.encode(), f"{what}: clipboard {got!r}, expected {expected!r}")


def scenario_plain_window(suite, opts):
    """Without a virtual desktop: position near the top right, first display, focus, Esc."""
    calc = Calculator(opts, desktop=False)
    try:
        snap = calc.start()
        left, top, right, _ = snap.frame["rect"]
        width = x_screen_width()
        suite.check(left == width - 360 and top == 8,
                    f"window at {left},{top}, expected {width - 360},8")
        suite.check(right <= width, f"window right edge {right} beyond the {width}-pixel screen")
        suite.check(snap.controls[DISPLAY_FIELD]["text"].strip() == "0.000",
                    f"first display {snap.controls[DISPLAY_FIELD]['text']!r}")
        suite.check(snap.focus == HIDDEN_FIELD, f"focus on {snap.focus}, expected 1003")
        suite.expect_copy(calc, "0.000", "first display")
        keys("1", "2", "plus", "3", "equal")
        suite.expect_copy(calc, "15.000", "12+3= typed on the main keyboard")
        keys("Escape")
        suite.check(calc.wait_ended(), "Esc did not end the program")
        calc.proc.wait(timeout=10)
        suite.check(calc.proc.returncode == 0, f"exit status {calc.proc.returncode}")
    finally:
        calc.stop()


def scenario_keys_and_mouse(suite, opts):
    calc = Calculator(opts)
    try:
        snap = calc.start()
        calc.shot(snap, "main-window.png")

        keys("1", "2", "plus", "3", "equal")
        suite.expect_copy(calc, "15.000", "main keyboard 12+3=")
        keys("c", "KP_1", "KP_2", "KP_Multiply", "KP_3", "KP_Enter")
        suite.expect_copy(calc, "36.000", "numeric keypad 12*3 Enter")
        keys("KP_9", "KP_Subtract", "KP_4", "KP_Divide", "KP_2", "KP_Add", "KP_1",
             "KP_Decimal", "KP_5", "Return")
        suite.expect_copy(calc, "4.000", "numeric keypad (9-4)/2+1.5")
        keys("c", "9", "Insert", "1", "Delete", "5", "Return")
        suite.expect_copy(calc, "7.500", "Insert as -, Delete as .")
        keys("c", "1", "2", "3", "BackSpace")
        suite.expect_copy(calc, "12.000", "Backspace")
        keys("c", "5", "plus", "3", "e", "4", "equal")
        suite.expect_copy(calc, "9.000", "e clears the entry only")
        keys("5", "plus", "3", "c", "equal")
        suite.expect_copy(calc, "0.000", "c clears, = then ignored")
        keys("7", "shift+e", "shift+c", "x", "q", "z", "shift+a")
        suite.expect_copy(calc, "7.000", "Shift+E, Shift+C and letters do nothing")
        snap = calc.probe()
        suite.check(snap.controls[HIDDEN_FIELD]["text"] == "",
                    f"field 1003 holds {snap.controls[HIDDEN_FIELD]['text']!r} after letters")
        keys("plus", "1", "equal")
        suite.expect_copy(calc, "8.000", "operator typed after letters")
        keys("c", "2", "0", "0", "plus", "1", "0", "percent")
        suite.expect_copy(calc, "220.000", "Shift+5 is %")
        keys("c", "1", "0", "slash", "4", "minus", "0", "period", "5", "equal")
        suite.expect_copy(calc, "2.000", "typed / - . characters")

        # Mouse clicks on the keypad; typed operators go on working after them.
        keys("c")
        for caption in ("4", "+", "5"):
            calc.click(snap, BUTTONS[caption])
        keys("equal")
        suite.expect_copy(calc, "9.000", "4 + 5 clicked, = typed")
        snap = calc.probe()
        suite.check(snap.focus == HIDDEN_FIELD, f"focus on {snap.focus} after a click")
        keys("asterisk", "2", "equal")
        suite.expect_copy(calc, "18.000", "typed * after clicks")
        suite.expect_copy(calc, "18.000", "COPY button", via="button", snap=snap)

        # Memory keys exist only as buttons and menu items.
        keys("c", "4")
        for caption in ("M+", "M+"):
            calc.click(snap, BUTTONS[caption])
        keys("c")
        calc.click(snap, BUTTONS["Mr"])
        suite.expect_copy(calc, "8.000", "4 M+ M+ C Mr")
        shown = calc.probe().controls[DISPLAY_FIELD]["text"]
        suite.check(shown.endswith("8.000 M"), f"display {shown!r} lacks the memory indicator")
        keys("1")
        shown = calc.probe().controls[DISPLAY_FIELD]["text"]
        suite.check(shown.strip() == "1.000", f"display {shown!r} after a digit")
        calc.click(snap, BUTTONS["Mc"])
        calc.click(snap, BUTTONS["Mr"])
        suite.expect_copy(calc, "0.000", "Mc Mr")

        # The menus: digits, actions and Copy chosen with the keyboard.
        keys("c")
        menu(("Digits", 7))
        menu(("Actions", 2))
        menu(("Digits", 2))
        menu(("Actions", 1))
        suite.expect_copy(calc, "9.000", "7 + 2 = from the menus, Copy from the menu", via="menu")

        # Overflow: the display shows the Cyrillic word, COPY gives its Windows-1251 bytes.
        keys("c", *(["9"] * 10), "asterisk", *(["9"] * 10), "equal")
        raw = calc.copy()
        suite.check(decode_clipboard(raw) == OVERFLOW_COPY, f"overflow copied as {raw!r}")
        snap = calc.probe()
        shown = snap.controls[DISPLAY_FIELD]["text"]
        suite.check(shown.strip() == OVERFLOW_WORD, f"overflow displayed as {shown!r}")
        calc.shot(snap, "overflow.png")

        # The About box, from F1 and from the Help menu.
        keys("c", "F1")
        snap = wait_for(calc, lambda s: s.about is not None, "About box after F1")
        about_text = snap.about_controls.get(1001, {}).get("text", "")
        check_about_text(suite, about_text)
        version = snap.about_controls.get(1002, {}).get("text", "")
        suite.check(version == f"Version {os.environ.get('ORLIX_VERSION', '?')}",
                    f"About version line {version!r}")
        about = snap.about["rect"]
        frame = snap.frame["rect"]
        centre_x = (about[0] + about[2]) // 2
        suite.check(abs(centre_x - SCREEN[0] // 2) <= 2, f"About box not centred: {about}")
        left, top = min(about[0], frame[0]), min(about[1], frame[1])
        calc.shot(snap, "about-box.png", (left, top, max(about[2], frame[2]), max(about[3], frame[3])))
        keys("2")  # the keypad takes no input while the box is shown
        keys("Return")
        wait_for(calc, lambda s: s.about is None, "About box closed with Enter")
        keys("2", "plus", "2", "equal")
        suite.expect_copy(calc, "4.000", "keys after the About box")
        menu(("Help", 0))
        snap = wait_for(calc, lambda s: s.about is not None, "About box from the Help menu")
        calc.click(snap, 1, about=True)
        wait_for(calc, lambda s: s.about is None, "About box closed with OK")
        keys("3", "asterisk", "3", "equal")
        suite.expect_copy(calc, "9.000", "keys after the About box from the menu")

        generated_sequences(suite, calc, snap)
        keys("Escape")
        suite.check(calc.wait_ended(), "Esc did not end the program")
    finally:
        calc.stop()


def wait_for(calc, condition, what, timeout=10):
    deadline = time.time() + timeout
    while time.time() < deadline:
        snap = calc.probe()
        if condition(snap):
            return snap
        time.sleep(0.2)
    raise CheckFailed(f"timed out waiting for: {what}")


def check_about_text(suite, text):
    lines = text.replace("\r\n", "\n").split("\n")
    groups, current = [], []
    for line in lines:
        if line == "":
            if current:
                groups.append(current)
            current = []
        else:
            current.append(line)
    if current:
        groups.append(current)
    suite.check([len(g) for g in groups] == [1, 1, 2, 1, 1], f"About text groups {groups!r}")
    suite.check(bool(groups) and groups[0] == [" Orlix Calculator 2 "], "About title line")
    framed = all(l.startswith(" ") and l.endswith(" ") and l.strip() for g in groups for l in g)
    suite.check(framed, "every About line has a blank before and after its words")
    years = ["1988", "2012", "2013"]
    suite.check(len(groups) == 5 and all(y in " ".join(groups[i]) for y, i in zip(years, (2, 3, 4))),
                "About years 1988, 2012, 2013 in their groups")


def model(opts, captions):
    """The engine's answer: the display after every key, and the text of each COPY."""
    result = subprocess.run([opts.keys_tool, *captions], capture_output=True, check=True)
    return result.stdout.decode("utf-8").splitlines()


def generated_sequences(suite, calc, snap):
    """Random key sequences typed or clicked, each result read back through COPY and
    compared with the key-replay tool fed the whole history."""
    rng = random.Random(calc.opts.seed)
    weights = ([(str(d), 6) for d in range(10)] +
               [(".", 3), ("+", 3), ("-", 3), ("*", 3), ("/", 3), ("=", 4), ("%", 1),
                ("<-", 2), ("E", 1), ("C", 1), ("M+", 1), ("M-", 1), ("Mr", 1), ("Mc", 1)])
    population = [k for k, w in weights for _ in range(w)]
    keys("c")
    history = ["C"]
    sequences = []
    for _ in range(calc.opts.sequences):
        seq = [rng.choice(population) for _ in range(rng.randint(3, 12))]
        sequences.append(seq)
        history += seq + ["COPY"]
    # Each COPY line of the model, with the display shown just before it.
    expected, display = [], ""
    for line in model(calc.opts, history):
        if line.startswith("copy|"):
            expected.append((line[len("copy|"):-1], display))
        else:
            display = line[1:-1]
    for index, seq in enumerate(sequences):
        for caption in seq:
            if caption.startswith("M") or rng.random() < 0.1:
                calc.click(snap, BUTTONS[caption])
            else:
                keys(rng.choice(TYPED[caption]))
        want, want_display = expected[index]
        got = calc.copy().decode("utf-8", errors="replace")
        # The field drops trailing blanks; the memory indicator and the Cyrillic word show.
        shown = calc.probe().controls[DISPLAY_FIELD]["text"]
        suite.check(shown == want_display.rstrip(" "),
                    f"sequence {index} {' '.join(seq)}: display {shown!r}, model {want_display!r}")
        if want.startswith(OVERFLOW_WORD):
            got_bytes = decode_clipboard(got.encode())
            suite.check(got_bytes == OVERFLOW_COPY, f"sequence {index} {' '.join(seq)}: {got!r}")
        else:
            suite.check(got == want, f"sequence {index} {' '.join(seq)}: got {got!r}, model {want!r}")


def click_close_box(snap):
    _, top, right, _ = snap.frame["rect"]
    button_w, button_h, frame_x, frame_y = snap.metrics
    xdotool("mousemove", str(right - frame_x - button_w // 2 - 1),
            str(top + frame_y + button_h // 2), "click", "1")


def scenario_ending(suite, opts, name, action):
    calc = Calculator(opts)
    try:
        snap = calc.start()
        keys("5", "plus", "3")  # in the middle of an entry
        action(calc, snap)
        suite.check(calc.wait_ended(), f"{name} did not end the program")
        suite.check(not calc.probe().frame, f"the window is still there after {name}")
    finally:
        calc.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--keys-tool", required=True)
    parser.add_argument("--shots", type=Path, required=True)
    parser.add_argument("--sequences", type=int, default=int(os.environ.get("ORLIX_E2E_SEQUENCES", 30)))
    parser.add_argument("--seed", type=int, default=int(os.environ.get("ORLIX_E2E_SEED", time.time())))
    parser.add_argument("--only", default="", help="run only the scenarios whose names contain this")
    opts = parser.parse_args()
    print(f"e2e: seed {opts.seed}, {opts.sequences} generated sequences", flush=True)

    suite = Suite(opts)
    scenarios = [
        ("plain window", lambda: scenario_plain_window(suite, opts)),
        ("keys, mouse, menus, About, sequences", lambda: scenario_keys_and_mouse(suite, opts)),
        ("Esc", lambda: scenario_ending(suite, opts, "Esc", lambda c, s: keys("Escape"))),
        ("File Exit", lambda: scenario_ending(suite, opts, "File Exit",
                                              lambda c, s: keys("alt+f", "x", delay=100))),
        ("Off", lambda: scenario_ending(suite, opts, "Off",
                                        lambda c, s: c.click(s, BUTTONS["Off"]))),
        ("close box", lambda: scenario_ending(suite, opts, "the close box",
                                              lambda c, s: click_close_box(s))),
    ]
    for name, run in scenarios:
        if opts.only not in name:
            continue
        started = time.time()
        try:
            run()
        except (CheckFailed, subprocess.SubprocessError, KeyError) as error:
            suite.failures.append(f"{name}: {error!r}")
            print(f"FAIL: {name}: {error!r}", flush=True)
        print(f"e2e: {name} done in {time.time() - started:.1f} s", flush=True)
    print(f"e2e: {suite.passed} checks passed, {len(suite.failures)} failed; "
          f"screenshots in {opts.shots}", flush=True)
    return 1 if suite.failures else 0


if __name__ == "__main__":
    sys.exit(main())
