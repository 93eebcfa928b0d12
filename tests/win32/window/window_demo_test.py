"""Drives the window demo with real X key presses and mouse clicks (xdotool) and checks,
event by event, what the toolkit delivered; reads COPY back through the X clipboard."""
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from x11_harness import FAILURES, check, start_demo, xdotool  # noqa: E402

DEMO = sys.argv[1]


def expect(log, action, kind, detail1, detail2=None, what=""):
    action()
    event = log.next_event()
    ok = event is not None and event[0] == kind and event[2] == detail1
    if ok and detail2 is not None:
        ok = event[3] == detail2
    check(ok, f"{what}: expected type {kind} detail1 {detail1}, got {event}")
    return event


def main():
    demo, log, ready = start_demo(DEMO, "window-demo", "demo window opened")
    if ready is None:
        return 1
    f = ready.split()
    frame = [int(v) for v in f[2:6]]
    client_x, client_y, client_w, client_h = (int(v) for v in f[7:11])
    toolbar = [int(v) for v in f[12:16]]
    screen_w, screen_h = int(f[17]), int(f[18])
    check(screen_w == int(xdotool("getdisplaygeometry").split()[0]),
          f"WScreenQuery(1) = {screen_w} is the X screen width")
    frame_w = frame[2] - frame[0]
    check(abs(frame[0] - (screen_w - frame_w) // 2) <= 1, f"frame centred horizontally {frame}")
    check(client_w == screen_w * 80 // 100 and client_h == screen_h * 80 // 100,
          f"client area is 80% of the screen: {client_w}x{client_h}")

    windows = xdotool("search", "--name", "^Window demo$").split()
    check(len(windows) >= 1, "the frame is an X window titled 'Window demo'")
    win = windows[0] if windows else None

    def focus():
        if win:
            xdotool("windowfocus", "--sync", win)

    def key(*keys):
        def run():
            focus()
            xdotool("key", "--delay", "30", *keys)
        return run

    time.sleep(0.5)
    expect(log, key("F5"), 2, 40010, -1, "F5 accelerator")
    expect(log, key("ctrl+n"), 2, 40002, -1, "Ctrl+N accelerator")
    expect(log, key("F1"), 1, 301, -1, "F1")
    expect(log, key("shift+F1"), 1, 321, -1, "Shift+F1")
    expect(log, key("ctrl+F1"), 1, 341, -1, "Ctrl+F1")
    expect(log, key("shift+Up"), 1, 262, -1, "Shift+Up")
    expect(log, key("Prior"), 1, 262, -1, "Page Up")
    expect(log, key("a"), 1, 97, -1, "letter a")
    expect(log, key("shift+Tab"), 1, 274, -1, "Shift+Tab")

    # Mouse: a left click, then the wheel, in client coordinates.
    px, py = client_x + 50, client_y + 60
    def click_left():
        focus()
        xdotool("mousemove", "--sync", str(px), str(py))
        xdotool("click", "1")
    down = expect(log, click_left, 4, 1, None, "left button down")
    check(down is not None and down[13] == 50 and down[14] == 60,
          f"left click at client 50,60: {down}")
    up = log.next_event()
    check(up is not None and up[0] == 5 and up[2] == 1, f"left button up: {up}")
    wheel = expect(log, lambda: xdotool("click", "4"), 4, 4, None, "wheel away from the user")
    check(wheel is not None and wheel[13] == 50 and wheel[14] == 60,
          f"wheel in client coordinates: {wheel}")
    expect(log, lambda: xdotool("click", "5"), 4, 5, None, "wheel towards the user")

    # The first toolbar button is the File > New command.
    def click_toolbar():
        xdotool("mousemove", "--sync", str(toolbar[0] + 12), str((toolbar[1] + toolbar[3]) // 2))
        xdotool("click", "1")
    expect(log, click_toolbar, 2, 40002, -1, "toolbar button")

    # A menu item chosen with the keyboard: Alt+G is the menu bar's "Go" command.
    expect(log, key("alt+g"), 2, 40010, -1, "menu bar item Go")
    expect(log, key("alt+f", "n"), 2, 40002, -1, "File > New from the menu")

    # Close requests leave the window open.
    expect(log, key("alt+F4"), 9, -1, -1, "Alt+F4 close request")
    check(demo.poll() is None and bool(xdotool("search", "--name", "^Window demo$").split()),
          "window still open after the close request")

    # COPY: six characters, two of them trailing blanks, through the X clipboard.
    expect(log, key("ctrl+c"), 2, 40004, -1, "Ctrl+C")
    time.sleep(0.5)
    text = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                          timeout=10).stdout
    check(text == b"1234  ", f"X clipboard holds '1234  ': {text!r}")

    expect(log, key("Escape"), 2, 40006, -1, "Esc exits")
    check(log.wait_line("closed") is not None, "WindowShutdown ran")
    try:
        code = demo.wait(timeout=30)
    except subprocess.TimeoutExpired:
        demo.kill()
        code = None
    check(code == 0, f"demo exit code 0: {code}")
    print(f"{len(FAILURES)} failure(s)")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
