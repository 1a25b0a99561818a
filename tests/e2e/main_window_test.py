"""Starts the real program on a throw-away desktop with a prepared settings file and
checks what a user would see: the window, its stacking, the collapsed pane, the
dialogs' effect on stacking, what the window manager offers on each window, that one X
window serves the main window for the whole run, and the settings file written at
close."""
import contextlib
import os
import subprocess
import sys
import tempfile
import time

import desktop
import settings_file

TITLE = "HTML Ombrix"
HERE = os.path.dirname(os.path.abspath(__file__))
SENDS = 20


def start(d, exe):
    proc = d.start([exe], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    win = d.wait_window(TITLE)
    desktop.wait_for(lambda: d.active_window() == win, what="main window active")
    return proc, win


def client_width(d, win):
    out = d.run("xwininfo", "-id", str(win))
    return int(out.split("Width:")[1].split()[0])


def allowed_actions(d, win):
    return d.run("xprop", "-id", str(win), "_NET_WM_ALLOWED_ACTIONS")


def frame_extents(d, win):
    out = d.run("xprop", "-id", str(win), "_NET_FRAME_EXTENTS")
    return [int(v) for v in out.split("=")[1].split(",")] if "=" in out else None


def only_window(d, title, win):
    """The main window is still the one X window it was at the start."""
    return d.windows_named(title) == [win]


def check(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def dialogs_and_stacking(d, exe):
    # Collapsed pane and Always On Top from the file.
    settings_file.write(settings_file.with_changes(line21="True", line2=" 3 "))
    proc, win = start(d, exe)
    check(d.is_above(win), "Always On Top puts the main window in the topmost band")
    check(client_width(d, win) == 328, "a collapsed flag starts the pane collapsed (4920 twips wide)")
    check("MAXIMIZE" not in allowed_actions(d, win), "the main window offers no maximise")

    d.key("alt+a", window=win)
    about = desktop.wait_for(lambda: d.active_window() if d.active_window() != win else None, what="about box")
    check(not d.is_above(win), "opening the about box takes the main window out of the topmost band")
    extents = desktop.wait_for(lambda: frame_extents(d, about), what="about box frame")
    check(all(e > 0 for e in extents), "the about box has a border on every side %s" % extents)
    check(extents[2] == extents[0], "and no title bar %s" % extents)
    check(d.run("xprop", "-id", str(about), "WM_NAME").split("=")[1].strip() in ("", '""'),
          "the about box's name is empty")
    d.key("Return")
    desktop.wait_for(lambda: d.active_window() == win, what="main window active after about")
    check(not d.is_above(win), "closing the about box leaves it out of the band")

    # Expand with a click on the toggle, then open the options with Alt+O.
    d.click(win, 311, 71)
    desktop.expect(lambda: client_width(d, win) == 432, "the toggle expands the pane to the design width")
    d.key("alt+o")
    options = d.wait_window("Options")
    check(not d.is_above(win), "the options dialog is open and the main window is ordinary")
    actions = allowed_actions(d, options)
    check("MAXIMIZE" not in actions and "RESIZE" not in actions, "the options dialog offers neither maximise nor resize")
    d.key("Return", window=options)
    desktop.expect(lambda: d.is_above(win), "OK in the options dialog puts the main window back on top")
    # The program saves just after it asks for the topmost band: wait for the file too.
    expanded = settings_file.file_bytes(settings_file.with_changes(line2=" 3 "))
    desktop.expect(lambda: settings_file.read() == expanded, "OK in the options dialog saved the expanded state")

    # A dialog minimised by the window manager comes back with the main window.
    d.key("alt+c", window=win)
    colours = d.wait_window("Set Color")
    d.run("xdotool", "windowminimize", str(colours))
    time.sleep(0.3)
    d.activate(win)
    desktop.expect(lambda: d.is_viewable(colours) and d.active_window() == colours,
                   "activating the main window brings the minimised colour dialog back, active")
    for _ in range(3):  # the first key right after an activation by xdotool can get lost before the program
        d.key("Return")
        with contextlib.suppress(AssertionError):
            desktop.wait_for(lambda: d.active_window() == win, timeout=2, what="main window active")
            break
    check(d.active_window() == win and not d.is_viewable(colours), "Enter in the colour dialog closes it")
    check(only_window(d, TITLE, win), "the main window kept its X window across the dialogs")

    d.close(win)
    proc.wait(timeout=10)
    check(proc.returncode == 0, "closing the main window ends the program")


def one_window_for_the_run(d, exe):
    """Always On Top changes and twenty paste-mode sends keep the main window's X window."""
    with tempfile.TemporaryDirectory(prefix="ombrix-received-") as folder:
        log = os.path.join(folder, "log")
        target = d.start([sys.executable, os.path.join(HERE, "targets", "tk_target.py"), log])
        try:
            target_win = d.wait_window("Tk Target")
            time.sleep(0.3)
            settings_file.write(settings_file.DEFAULT_LINES)
            proc, win = start(d, exe)
            # Always On Top off and on again, through the options dialog.
            for box in ("off", "on"):
                d.key("alt+o", window=win)
                options = d.wait_window("Options")
                desktop.wait_for(lambda: d.active_window() == options, what="options dialog active")
                time.sleep(0.3)
                d.key("Tab", "Tab", "Tab", "space", "Return")  # from OK: tags, send mode, Always On Top
                desktop.wait_for(lambda: d.active_window() == win, what="main window back from the options")
                check(d.is_above(win) == (box == "on"), "Always On Top %s through the options dialog" % box)
                check(only_window(d, TITLE, win), "the same X window after Always On Top %s" % box)
            for i in range(SENDS):
                d.activate(target_win)
                desktop.wait_for(lambda: d.active_window() == target_win, what="target active")
                d.activate(win)
                desktop.wait_for(lambda: d.active_window() == win, what="main window active")
                d.type("send %d" % i)
                d.key("Return")
                desktop.wait_for(lambda: os.path.exists(log) and len(open(log).read().splitlines()) > i,
                                 what="message %d received" % i)
                desktop.wait_for(lambda: d.active_window() in d.windows_named(TITLE), what="main window back after send %d" % i)
                if not only_window(d, TITLE, win):
                    raise AssertionError("send %d gave the main window a new X window" % (i + 1))
                if not d.is_above(win):
                    raise AssertionError("send %d lost Always On Top" % (i + 1))
            print("ok: %d paste-mode sends kept the main window's X window and its place on top" % SENDS)
            d.close(win)
            proc.wait(timeout=10)
        finally:
            target.terminate()
            target.wait(timeout=5)


def closing_writes_the_file(d, exe):
    # Always On Top off: an ordinary window; closing writes the file byte for byte.
    settings_file.write(settings_file.with_changes(line24=" 0 ", line22=" 1 ", line3="16"))
    proc, win = start(d, exe)
    check(not d.is_above(win), "Always On Top off gives an ordinary window")
    d.close(win)
    proc.wait(timeout=10)
    check(settings_file.read() == settings_file.file_bytes(settings_file.with_changes(line24=" 0 ", line22=" 1 ")),
          "closing writes the settings file exactly")


def main():
    exe = sys.argv[1]
    with settings_file.preserved(), desktop.desktop() as d:
        dialogs_and_stacking(d, exe)
        one_window_for_the_run(d, exe)
        closing_writes_the_file(d, exe)
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
