"""What the X-driven demo tests share: the check list, xdotool, and the demo's event log
(lines the demo writes as it runs, read from where the test last stopped)."""
import os
import subprocess
import tempfile
import time

FAILURES = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        FAILURES.append(what)


def expect_exit(demo, action, timeout=20):
    """Waits for the demo to end after action (for example "the Done button"); a demo
    that does not end is killed and counted as a failure."""
    try:
        demo.wait(timeout=timeout)
        check(demo.returncode == 0, action + " ends the demo normally")
    except subprocess.TimeoutExpired:
        demo.kill()
        check(False, action + " ends the demo")


def screenshot(folder, name):
    """Saves the whole X screen as folder/name (nothing when no folder was given)."""
    if not folder:
        return
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["import", "-window", "root", os.path.join(folder, name)], capture_output=True, timeout=30)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20).stdout


def event_words(line):
    """The numbers of an "event" line, or None for any other line and for repaints and
    resizes (types 7 and 8)."""
    if not line.startswith("event "):
        return None
    words = [int(w) for w in line.split()[1:]]
    return None if words[0] in (7, 8) else words


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

    def wait_line(self, prefix, timeout=15):
        end = time.time() + timeout
        while time.time() < end:
            lines = self.lines()
            for i in range(self.seen, len(lines)):
                if lines[i].startswith(prefix):
                    self.seen = i + 1
                    return lines[i]
            time.sleep(0.05)
        return None

    def next_event(self, timeout=5):
        """The next event that is not a repaint or a resize, as a list of ints."""
        end = time.time() + timeout
        while time.time() < end:
            lines = self.lines()
            while self.seen < len(lines):
                words = event_words(lines[self.seen])
                self.seen += 1
                if words is not None:
                    return words
            time.sleep(0.05)
        return None

    def events(self, quiet=0.8, timeout=5):
        """Every event line until none has come for `quiet` seconds, repaints dropped,
        and every "text" line as it stands."""
        found = []
        end = time.time() + timeout
        last = time.time()
        while time.time() < end and time.time() - last < quiet:
            lines = self.lines()
            while self.seen < len(lines):
                line = lines[self.seen]
                self.seen += 1
                last = time.time()
                words = event_words(line)
                if words is not None:
                    found.append(words)
                elif line.startswith("text "):
                    found.append(line)
            time.sleep(0.05)
        return found


def start_demo(exe, name, opened):
    """Starts the demo exe under Wine with its event log in a new folder; returns the
    process, the log and the demo's "ready" line, which is None (and the process killed)
    when the demo never got ready. `opened` names the check."""
    workdir = tempfile.mkdtemp(prefix=name + "-")
    log_path = os.path.join(workdir, "events.log")
    demo = subprocess.Popen(["wine", exe, "--log", "Z:" + log_path],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    log = Log(log_path)
    ready = log.wait_line("ready", timeout=60)
    check(ready is not None, opened)
    if ready is None:
        demo.kill()
    return demo, log, ready
