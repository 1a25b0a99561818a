"""Opens each window of the real program in turn and saves a picture of the screen."""
import os
import subprocess
import sys
import time

import desktop
import settings_file


def shoot(d, out, name, window=None):
    """Saves the window (the active one if none is named) with its frame."""
    time.sleep(0.4)
    path = os.path.join(out, name + ".png")
    d.run("import", "-frame", "-window", str(window or d.active_window()), path, timeout=30)
    print(path)


def main():
    exe, out = sys.argv[1], sys.argv[2]
    scale = float(os.environ.get("QT_SCALE_FACTOR", "1") or 1)
    screen = "%dx%dx24" % (1024 * scale, 700 * scale)  # room for the tallest dialog at any scale
    window_manager = os.environ.get("OMBRIX_WINDOW_MANAGER", "openbox")
    with settings_file.preserved(), desktop.desktop(screen, window_manager=window_manager) as d:
        if os.path.lexists(settings_file.PATH):
            os.remove(settings_file.PATH)
        proc = d.start([exe])
        win = d.wait_window("HTML Ombrix")
        shoot(d, out, "main-empty", win)
        d.type("Hello there!")
        shoot(d, out, "main-typed", win)
        d.key("alt+c")
        colours = d.wait_window("Set Color")
        time.sleep(0.3)
        d.key("Tab", "Tab")  # to the first level bar, which shows its focus
        shoot(d, out, "set-color", colours)
        d.key("Return")
        d.key("alt+o", window=win)
        shoot(d, out, "options", d.wait_window("Options"))
        d.key("Return")
        d.key("alt+a", window=win)
        shoot(d, out, "about")
        d.key("Return")
        time.sleep(0.3)
        d.click(win, int(311 * scale), int(71 * scale))  # the collapse toggle
        shoot(d, out, "main-collapsed", win)
        d.close(win)
        proc.wait(timeout=10)


if __name__ == "__main__":
    main()
