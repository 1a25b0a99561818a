"""Sends messages from the real program into stand-in messenger windows on a throw-away
desktop, as a user would: type, press Enter, and look at what the messenger received.

    delivery_test.py OMBRIX OMBRIX_FADE QT_TARGET CASE

CASE is one of: paste-qt, paste-tk, paste-long, paste-no-wm, paste-shift-held, paste-not-taken,
xwayland-no-x11-focus, copy."""
import contextlib
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import desktop
import settings_file

TITLE = "HTML Ombrix"
HERE = os.path.dirname(os.path.abspath(__file__))
SENDS = 20


def check(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def fade(exe, message, *args):
    return subprocess.run([exe, *args], input=message.encode("utf-8"), capture_output=True,
                          check=True).stdout.decode("utf-8")


class Session:
    def __init__(self, d, with_wm, ombrix, ombrix_env=None):
        self.d = d
        self.with_wm = with_wm
        self.ombrix = ombrix
        self.ombrix_env = dict(d.env, **(ombrix_env or {}))
        self.procs = []

    def has_focus(self, win):
        if self.with_wm:
            return self.d.active_window() == win
        return self.d.focused_window() == win

    def main_window(self):
        """The main window's current X window: Qt may re-create it when it shows again."""
        wins = self.d.windows_named(TITLE)
        return wins[0] if len(wins) == 1 else None

    def main_window_back(self):
        win = self.main_window()
        return win is not None and self.has_focus(win)

    def focus(self, win):
        if self.with_wm:
            self.d.activate(win)
            desktop.wait_for(lambda: self.d.active_window() == win, what="target active")
        else:
            self.d.run("xdotool", "windowfocus", "--sync", str(win), timeout=5)

    def start_target(self, command, title):
        self.procs.append(self.d.start(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        win = self.d.wait_window(title)
        time.sleep(0.3)  # let the toolkit settle its own focus inside the window
        self.focus(win)
        return win

    def start_ombrix(self):
        proc = self.d.start([self.ombrix], env=self.ombrix_env, stdout=subprocess.DEVNULL)
        self.procs.append(proc)
        win = self.d.wait_window(TITLE)
        desktop.wait_for(lambda: self.has_focus(win), what="main window focused")
        return win

    def stop(self):
        for p in self.procs:
            p.terminate()
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                p.kill()


class ActiveWindowLog:
    """Notes when each window became active, as the window manager announces it: timing
    sends this way leaves out the time the test itself takes to poll."""

    def __init__(self, d):
        self.changes = []
        self.proc = d.start(["xprop", "-root", "-spy", "_NET_ACTIVE_WINDOW"], stdout=subprocess.PIPE, text=True)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        for line in self.proc.stdout:
            if "#" in line:
                try:
                    self.changes.append((time.monotonic(), int(line.split("#")[1].split(",")[0], 16)))
                except ValueError:
                    pass

    def back_after(self, start, target, main):
        """When main became active again after target took over, from start on."""
        left = None
        for when, win in list(self.changes):
            if when < start:
                continue
            if left is None and win == target:
                left = when
            elif left is not None and win == main:
                return when
        return None

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=5)


def received(log):
    if not os.path.exists(log):
        return []
    with open(log, encoding="utf-8") as f:
        return f.read().split("\n")[:-1]


@contextlib.contextmanager
def messenger(s, settings_lines, command, title):
    """Writes the settings, starts the stand-in messenger and then the tool over it;
    yields the messenger's log of received messages and its window."""
    with tempfile.TemporaryDirectory(prefix="ombrix-received-") as folder:
        log = os.path.join(folder, "log")
        settings_file.write(settings_lines)
        target = s.start_target(command + [log], title)
        s.start_ombrix()
        yield log, target


def send_and_time(s, log, count_before, target=None, spy=None):
    """Presses Enter in the main window; returns the seconds until it is active again."""
    start = time.monotonic()
    s.d.key("Return")
    desktop.wait_for(lambda: len(received(log)) > count_before, timeout=10, step=0.005, what="message received")
    desktop.wait_for(s.main_window_back, timeout=10, step=0.005, what="main window back")
    polled = time.monotonic() - start
    if spy is None:
        return polled
    back = spy.back_after(start, target, s.main_window())
    return back - start if back is not None else polled


def paste(s, fade_exe, target_command, target_title):
    # The default settings: paste mode, six colours.
    with messenger(s, settings_file.DEFAULT_LINES, target_command, target_title) as (log, target):
        spy = ActiveWindowLog(s.d) if s.with_wm else None
        times = []
        for i in range(SENDS):
            message = "message %d, fading" % i
            s.d.type(message)
            times.append(send_and_time(s, log, i, target, spy))
            got = received(log)
            check(got[i] == fade(fade_exe, message) + " ", "send %d arrived whole, followed by one space" % (i + 1))
        check(len(received(log)) == SENDS, "exactly %d messages arrived" % SENDS)
        check(s.d.clipboard() in (None, ""), "the clipboard is empty afterwards")
        check(s.main_window_back(), "the main window is visible and active again")
        if spy:
            spy.stop()
        print("Enter to main window active again (%s): median %.0f ms, min %.0f, max %.0f over %d sends"
              % ("as the window manager announced it" if spy else "polled", statistics.median(times) * 1000,
                 min(times) * 1000, max(times) * 1000, SENDS))


def paste_long(s, fade_exe, tk_command):
    with messenger(s, settings_file.with_changes(line2=" 2 "), tk_command, "Tk Target") as (log, _):
        message = "".join(chr(ord("a") + i % 26) for i in range(32000))
        owner = s.d.start(["xclip", "-selection", "clipboard", "-i"], stdin=subprocess.PIPE)
        owner.communicate(message.encode("ascii"), timeout=10)
        s.d.key("ctrl+v")
        time.sleep(1.0)
        send_and_time(s, log, 0)
        expected = fade(fade_exe, message, "--color", "16,0,0", "--color", "16,8,0") + " "
        check(received(log) == [expected], "a 32000-character message arrived whole (%d characters of HTML)"
              % len(expected))
        check(s.d.clipboard() in (None, ""), "the clipboard is empty afterwards")


def paste_shift_held(s, fade_exe, tk_command):
    """Shift+Enter sends too; the keys must not go out while the user still holds Shift."""
    with messenger(s, settings_file.DEFAULT_LINES, tk_command, "Tk Target") as (log, _):
        s.d.type("shifted")
        s.d.run("xdotool", "keydown", "Shift_L")
        s.d.run("xdotool", "key", "Return")
        time.sleep(0.4)
        s.d.run("xdotool", "keyup", "Shift_L")
        desktop.wait_for(lambda: received(log), what="message received")
        desktop.wait_for(s.main_window_back, what="main window back")
        check(received(log) == [fade(fade_exe, "shifted") + " "], "a message sent with Shift+Enter arrived whole")


def paste_not_taken(s, fade_exe, qt_target):
    """The previous window has no text field, only a button on Alt+S, as a dialog of another
    program might: nothing fetches the paste, so that button must not fire and the message
    must not be lost."""
    message = "not for a dialog"
    with tempfile.TemporaryDirectory(prefix="ombrix-received-") as folder:
        log = os.path.join(folder, "log")
        settings_file.write(settings_file.DEFAULT_LINES)
        s.start_target([qt_target, log, "--no-input"], "Qt Target")
        s.start_ombrix()
        send_expecting_nothing_pressed(s, fade_exe, message, log,
                                       "the button on Alt+S in the previous window did not fire")


def send_expecting_nothing_pressed(s, fade_exe, message, log, nothing_pressed):
    """Sends a message that must not be handed over: nothing reaches the previous window,
    the HTML stays on the clipboard, the tool says why and keeps the text."""
    s.d.type(message)
    s.d.key("Return")
    desktop.wait_for(lambda: len(s.d.windows_named(TITLE)) == 2, what="a message from the tool")
    check(received(log) == [], nothing_pressed)
    check(s.d.clipboard() == fade(fade_exe, message), "the HTML is still on the clipboard")
    expect_message_and_text_kept(s, message, log)


def expect_message_and_text_kept(s, message, log):
    desktop.expect(lambda: len(s.d.windows_named(TITLE)) == 2, "the tool shows a message")
    s.d.key("Return")
    if s.with_wm:
        desktop.expect(s.main_window_back, "the main window is back and active once the message is closed")
    else:
        # Nothing gives the focus back without a window manager: the user clicks the window.
        desktop.expect(s.main_window, "the main window is back once the message is closed")
        s.focus(s.main_window())
    s.d.key("ctrl+a", "ctrl+c")
    desktop.expect(lambda: s.d.clipboard() == message, "the message is still in the message box")
    check(received(log) == [], "nothing was pressed in the previous window afterwards either")


def xwayland_no_x11_focus(s, fade_exe, tk_command):
    """The tool as an X11 client of a Wayland session whose previous window is a native
    Wayland one: after hiding, no X11 window holds the focus. Without a window manager
    the X server leaves it so, as the compositor would; the tool must not hand the focus
    back to the X11 window it last saw (that may be another chat), nor press keys."""
    message = "for a wayland window"
    with messenger(s, settings_file.DEFAULT_LINES, tk_command, "Tk Target") as (log, _):
        send_expecting_nothing_pressed(s, fade_exe, message, log,
                                       "the X11 window that had the focus before got nothing")


def copy(s, fade_exe):
    settings_file.write(settings_file.with_changes(line1=" 1 "))
    win = s.start_ombrix()
    hidden = []
    watching = True

    def watch():
        while watching:
            if not s.d.is_viewable(win):
                hidden.append(time.monotonic())
            time.sleep(0.005)

    watcher = threading.Thread(target=watch)
    watcher.start()
    try:
        s.d.type("copy me")
        s.d.key("Return")
        expected = fade(fade_exe, "copy me")
        desktop.wait_for(lambda: s.d.clipboard() == expected, what="HTML on the clipboard")
        time.sleep(0.5)
    finally:
        watching = False
        watcher.join()
    check(s.d.clipboard() == expected, "the clipboard still holds exactly the HTML")
    check(not hidden, "the main window never hid")
    check(s.has_focus(win), "the main window is still active")


def main():
    ombrix, fade_exe, qt_target, case = sys.argv[1:5]
    qt_command = [qt_target]
    tk_command = [sys.executable, os.path.join(HERE, "targets", "tk_target.py")]
    with_wm = case not in ("paste-no-wm", "xwayland-no-x11-focus")
    # A Wayland session's environment, with Qt kept on X11: nothing listens on that socket.
    wayland_env = {"WAYLAND_DISPLAY": "ombrix-test-no-compositor", "QT_QPA_PLATFORM": "xcb"}
    with settings_file.preserved(), desktop.desktop(window_manager=with_wm) as d:
        s = Session(d, with_wm, ombrix, wayland_env if case.startswith("xwayland") else None)
        try:
            if case == "paste-qt":
                paste(s, fade_exe, qt_command, "Qt Target")
            elif case == "paste-tk":
                paste(s, fade_exe, tk_command, "Tk Target")
            elif case == "paste-no-wm":
                paste(s, fade_exe, tk_command, "Tk Target")
            elif case == "paste-long":
                paste_long(s, fade_exe, tk_command)
            elif case == "paste-not-taken":
                paste_not_taken(s, fade_exe, qt_target)
            elif case == "xwayland-no-x11-focus":
                xwayland_no_x11_focus(s, fade_exe, tk_command)
            elif case == "paste-shift-held":
                paste_shift_held(s, fade_exe, tk_command)
            elif case == "copy":
                copy(s, fade_exe)
            else:
                raise SystemExit("unknown case " + case)
        finally:
            s.stop()
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
