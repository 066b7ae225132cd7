# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

"""xwindow.py wait|id|close TITLE SECONDS: waits until a window titled TITLE is
mapped (and with id prints its X id), or asks it to close with WM_DELETE_WINDOW
as a window manager's close button does. Exits non-zero when the window does not
appear in time.
xwindow.py click TITLE SECONDS X Y [KEY]: clicks at (X, Y) in that window, as a
mouse would, and then presses KEY (an X key name such as End) if given."""
import sys
import time

from Xlib import X, XK, display, protocol
from Xlib.ext import xtest


def find(dpy, title):
    stack = [dpy.screen().root]
    while stack:
        win = stack.pop()
        try:
            name = win.get_wm_name()
            attrs = win.get_attributes()
        except Exception:
            continue
        if name == title and attrs.map_state == X.IsViewable:
            return win
        try:
            stack.extend(win.query_tree().children)
        except Exception:
            pass
    return None


def main():
    verb, title, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    dpy = display.Display()
    deadline = time.monotonic() + seconds
    win = find(dpy, title)
    while win is None and time.monotonic() < deadline:
        time.sleep(0.1)
        win = find(dpy, title)
    if win is None:
        sys.exit(f"no window titled {title!r} within {seconds} s")
    if verb == "id":
        print(hex(win.id))
    if verb == "close":
        protocols = dpy.intern_atom("WM_PROTOCOLS")
        delete = dpy.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=win, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        win.send_event(event)
        dpy.flush()
    if verb == "click":
        x, y = int(sys.argv[4]), int(sys.argv[5])
        at = win.translate_coords(dpy.screen().root, 0, 0)
        xtest.fake_input(dpy, X.MotionNotify, x=x - at.x, y=y - at.y)
        xtest.fake_input(dpy, X.ButtonPress, 1)
        xtest.fake_input(dpy, X.ButtonRelease, 1)
        if len(sys.argv) > 6:
            code = dpy.keysym_to_keycode(XK.string_to_keysym(sys.argv[6]))
            xtest.fake_input(dpy, X.KeyPress, code)
            xtest.fake_input(dpy, X.KeyRelease, code)
        dpy.sync()


if __name__ == "__main__":
    main()
