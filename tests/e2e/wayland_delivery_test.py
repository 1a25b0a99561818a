"""Sends messages from the real program on a headless sway desktop into GTK entries
(yad), as a user would: type, press Enter, and look at what the entry received.

    wayland_delivery_test.py OMBRIX OMBRIX_FADE WL_TYPE CASE

CASE is one of:
  wayland-to-wayland  the program on Qt's Wayland platform, the target a Wayland window
  wayland-to-x11      the program on Qt's Wayland platform, the target an XWayland window
  xwayland-to-wayland the program on XWayland, the target a Wayland window, an older X11
                      window focused before it

yad prints its entry's text when its Send button (Alt+S) is pressed, and ends."""
import os
import statistics
import subprocess
import sys
import tempfile
import time

import desktop
import settings_file
import sway

TITLE = "HTML Ombrix"
TARGET = "Wayland Target"
OLD_X11 = "Old X11 Chat"
SENDS = 20


def check(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def fade(exe, message):
    return subprocess.run([exe], input=message.encode("utf-8"), capture_output=True,
                          check=True).stdout.decode("utf-8")


class Target:
    """A yad entry with a Send button on Alt+S, on the given GDK backend."""

    def __init__(self, s, title, backend, folder):
        self.out = os.path.join(folder, title.replace(" ", "-") + ".out")
        with open(self.out, "w") as out:
            self.proc = s.start(["yad", "--title=" + title, "--entry", "--button=_Send:0"],
                                env=dict(s.env, GDK_BACKEND=backend), stdout=out, stderr=subprocess.DEVNULL)
        s.wait_window(title)
        time.sleep(0.3)  # let GTK settle the focus inside its window

    def received(self, timeout):
        """The entry's text once Send was pressed; None when it was not within the timeout."""
        try:
            self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None
        with open(self.out, encoding="utf-8") as f:
            text = f.read()
        return text[:-1] if text.endswith("\n") else text

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(timeout=5)


def start_ombrix(s, ombrix, platform):
    """platform "wayland" is the program's own choice in a Wayland session: no QT_QPA_PLATFORM."""
    env = dict(s.env) if platform == "wayland" else dict(s.env, QT_QPA_PLATFORM=platform)
    proc = s.start([ombrix], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    s.wait_window(TITLE)
    desktop.wait_for(lambda: s.focused() == TITLE, what="main window focused")
    shell = next(sh for name, sh, _ in s.windows() if name == TITLE)
    check(shell == ("xdg_shell" if platform == "wayland" else "xwayland"), "the tool runs on %s (%s)"
          % (platform, shell))
    if platform == "wayland":
        app_id = s.app_id(TITLE)
        check(app_id == os.environ["OMBRIX_APP_ID"], "its app id is %s (%s)" % (os.environ["OMBRIX_APP_ID"], app_id))
    return proc


def paste_into(s, ombrix, fade_exe, platform, backend, old_x11=False):
    """Twenty sends into a new target each (yad ends with its Send). With old_x11, an X11
    chat window had the focus before the target: nothing may land there."""
    times = []
    whole = 0
    with tempfile.TemporaryDirectory(prefix="ombrix-received-") as folder:
        old = Target(s, OLD_X11, "x11", folder) if old_x11 else None
        target = Target(s, TARGET, backend, folder)
        proc = start_ombrix(s, ombrix, platform)
        log = sway.FocusLog(s)
        try:
            for i in range(SENDS):
                if i > 0:
                    target = Target(s, TARGET, backend, folder)
                    s.focus(TITLE)
                message = "message %d, fading" % i
                enter = s.type(message)
                got = target.received(timeout=10)
                desktop.wait_for(lambda: s.focused() == TITLE, what="main window back")
                back = log.focused_after(enter, TITLE)
                times.append((back if back is not None else time.monotonic()) - enter)
                expected = fade(fade_exe, message) + " "
                check(got == expected, "send %d arrived whole, followed by one space%s"
                      % (i + 1, "" if got == expected else " (got %r, expected %r)" % (got, expected)))
                whole += 1
            check(s.clipboard() is None, "the clipboard is empty afterwards")
            check(s.focused() == TITLE and s.count(TITLE) == 1, "the main window is back and active, no message")
            if old:
                s.focus(OLD_X11)
                s.keys("alt+s")
                check(old.received(timeout=10) == "", "nothing was pasted into the older X11 window")
        finally:
            log.stop()
            for window in (old, target):
                if window:
                    window.stop()
            proc.terminate()
            proc.wait(timeout=5)
    print("Enter to main window active again (%s platform into a %s window, as sway announced it): "
          "median %.0f ms, min %.0f, max %.0f over %d sends, %d of %d arrived whole"
          % (platform, backend, statistics.median(times) * 1000, min(times) * 1000, max(times) * 1000, SENDS,
             whole, SENDS))


def main():
    ombrix, fade_exe, wl_type, case = sys.argv[1:5]
    with settings_file.preserved(), sway.sway(wl_type) as s:
        settings_file.write(settings_file.DEFAULT_LINES)
        if case == "wayland-to-wayland":
            paste_into(s, ombrix, fade_exe, "wayland", "wayland")
        elif case == "wayland-to-x11":
            paste_into(s, ombrix, fade_exe, "wayland", "x11")
        elif case == "xwayland-to-wayland":
            paste_into(s, ombrix, fade_exe, "xcb", "wayland", old_x11=True)
        else:
            raise SystemExit("unknown case " + case)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
