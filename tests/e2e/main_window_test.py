"""Starts the real program on a throw-away desktop with a prepared settings file and
checks what a user would see: the window, its stacking, the collapsed pane, the
dialogs' effect on stacking, and the settings file written at close."""
import subprocess
import sys
import time

import desktop
import settings_file

TITLE = "HTML Ombrix"


def start(d, exe):
    proc = subprocess.Popen([exe], env=d.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    win = d.wait_window(TITLE)
    desktop.wait_for(lambda: d.active_window() == win, what="main window active")
    return proc, win


def client_width(d, win):
    out = d.run("xwininfo", "-id", str(win))
    return int(out.split("Width:")[1].split()[0])


def check(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def main():
    exe = sys.argv[1]
    with settings_file.preserved(), desktop.desktop() as d:
        # Collapsed pane and Always On Top from the file.
        settings_file.write(settings_file.with_changes(line21="True", line2=" 3 "))
        proc, win = start(d, exe)
        check(d.is_above(win), "Always On Top puts the main window in the topmost band")
        check(client_width(d, win) == 328, "a collapsed flag starts the pane collapsed (4920 twips wide)")

        d.key("alt+a", window=win)
        time.sleep(0.5)
        check(not d.is_above(win), "opening the about box takes the main window out of the topmost band")
        d.key("Return")
        desktop.wait_for(lambda: d.active_window() == win, what="main window active after about")
        check(not d.is_above(win), "closing the about box leaves it out of the band")

        # Expand with a click on the toggle, then open the options with Alt+O.
        d.click(win, 311, 71)
        desktop.wait_for(lambda: client_width(d, win) == 432, what="expanded width")
        check(client_width(d, win) == 432, "the toggle expands the pane to the design width")
        d.key("alt+o")
        options = d.wait_window("Options")
        check(not d.is_above(win), "the options dialog is open and the main window is ordinary")
        d.key("Return", window=options)
        desktop.wait_for(lambda: d.is_above(win), what="ABOVE after options OK")
        check(d.is_above(win), "OK in the options dialog puts the main window back on top")
        check(settings_file.read() == settings_file.file_bytes(settings_file.with_changes(line2=" 3 ")),
              "OK in the options dialog saved the expanded state")

        d.close(win)
        proc.wait(timeout=10)
        check(proc.returncode == 0, "closing the main window ends the program")

        # Always On Top off: an ordinary window; closing writes the file byte for byte.
        settings_file.write(settings_file.with_changes(line24=" 0 ", line22=" 1 ", line3="16"))
        proc, win = start(d, exe)
        check(not d.is_above(win), "Always On Top off gives an ordinary window")
        d.close(win)
        proc.wait(timeout=10)
        check(settings_file.read() == settings_file.file_bytes(settings_file.with_changes(line24=" 0 ", line22=" 1 ")),
              "closing writes the settings file exactly")
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
