"""The grid's small prompts ("Find", "Go to cell") answered with real X key presses."""
import time

from x11_harness import check, xdotool


def answer_prompt(title, text):
    """Waits for the prompt window, types text into it and presses Return. The wait
    after Return lets the window system hand the focus back to the grid before the next
    keys are typed."""
    found = xdotool("search", "--sync", "--onlyvisible", "--name", f"^{title}$").split()
    check(bool(found), f"the {title} prompt opened")
    time.sleep(0.3)
    xdotool("type", "--delay", "60", text)
    xdotool("key", "Return")
    time.sleep(1.5)
