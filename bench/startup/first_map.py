#!/usr/bin/env python3
"""first_map.py TITLE COMMAND...: starts COMMAND and prints the milliseconds from just
before the process is created to the moment a top-level X window titled TITLE is mapped
(becomes visible), then ends the process. Exit code 1 when no such window appears within
30 seconds. Talks to Xlib through ctypes (standard library only)."""
import ctypes
import ctypes.util
import os
import select
import signal
import subprocess
import sys
import time

SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
MAP_NOTIFY = 19
CREATE_NOTIFY = 16


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("map", MapEvent), ("pad", ctypes.c_long * 24)]


def main():
    title = sys.argv[1].encode()
    command = sys.argv[2:]
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
    x11.XPending.argtypes = [ctypes.c_void_p]
    x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
    x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the X display")
    root = x11.XDefaultRootWindow(display)
    x11.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
    x11.XSync(display, 0)
    fd = x11.XConnectionNumber(display)

    start = time.monotonic()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    event = Event()
    found = None
    while found is None and time.monotonic() - start < 30:
        if not x11.XPending(display):
            select.select([fd], [], [], 0.05)
            continue
        x11.XNextEvent(display, ctypes.byref(event))
        if event.type != MAP_NOTIFY:
            continue
        name = ctypes.c_char_p()
        if x11.XFetchName(display, event.map.window, ctypes.byref(name)) and name.value == title:
            found = (time.monotonic() - start) * 1000.0
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    process.wait()
    if found is None:
        sys.exit(1)
    print(f"{found:.1f}")


if __name__ == "__main__":
    main()
