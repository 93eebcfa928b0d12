"""Runs the Fortran demo under Wine: its window and dialog must appear, a label and a
ring count are typed into the dialog with real X key presses and OK is pressed; the demo
must print what it read and Ghostscript must read its PostScript file."""
import os
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "win32"))
from x11_harness import FAILURES, check, screenshot, xdotool  # noqa: E402


def wait_window(name, timeout=60):
    end = time.time() + timeout
    while time.time() < end:
        found = xdotool("search", "--name", f"^{name}$").split()
        if found:
            return found[0]
        time.sleep(0.2)
    return None


def main():
    exe, wine = sys.argv[1], "--wine" in sys.argv
    shots = next((a for a in sys.argv[2:] if a != "--wine"), None)
    work = tempfile.mkdtemp(prefix="fortran-demo-")
    out = os.path.join(work, "stdout.txt")
    command = (["wine", exe, "rings.ps"] if wine else [exe, "rings.ps"])
    with open(out, "w") as stdout:
        demo = subprocess.Popen(command, cwd=work, stdout=stdout, stderr=subprocess.STDOUT)
    expected = "label Rings, rings 5"
    if wine:
        window = wait_window("Quillanthor from Fortran")
        dialog = wait_window("Rings")
        check(window is not None, "the demo's window appears")
        check(dialog is not None, "the demo's dialog appears")
        if dialog is not None:
            xdotool("windowfocus", "--sync", dialog)
            time.sleep(0.5)
            xdotool("key", "ctrl+a")
            xdotool("type", "--delay", "50", "From Wine")
            xdotool("key", "Tab", "ctrl+a")
            xdotool("type", "--delay", "50", "9")
            time.sleep(0.3)
            screenshot(shots, "fortran-demo-dialog.png")
            xdotool("key", "Return")
            expected = "label From Wine, rings 9"
    try:
        demo.wait(timeout=60)
    except subprocess.TimeoutExpired:
        demo.kill()
        demo.wait()
    with open(out, encoding="latin-1") as f:
        printed = f.read().replace("\r", "")
    check(demo.returncode == 0, f"the demo ends normally ({demo.returncode}): {printed!r}")
    check(expected in printed, f"the demo read {expected!r} from its fields")
    ps = os.path.join(work, "rings.ps")
    gs = subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=nullpage", ps],
                        capture_output=True, text=True, timeout=60)
    check(os.path.getsize(ps) > 0 if os.path.exists(ps) else False, "the demo wrote rings.ps")
    check(gs.returncode == 0 and not gs.stderr.strip(), f"Ghostscript reads rings.ps {gs.stderr[-300:]!r}")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
