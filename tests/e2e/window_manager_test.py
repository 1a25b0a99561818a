"""What a window manager that reads the Motif hints field by field (icewm) offers on
each fixed window: the dialogs only move (no window menu, minimise, maximise, resize or
close), the main window minimises and closes but does not maximise; and that no
minimise, of a dialog or of the main window, leaves a dialog out of reach."""
import subprocess
import sys
import time

import desktop
import settings_file

TITLE = "HTML Ombrix"
# _MOTIF_WM_HINTS: the decorations field, and the window menu, minimise and maximise buttons.
DECORATIONS_FIELD, MENU, MINIMISE_BUTTON, MAXIMISE_BUTTON = 0x2, 0x10, 0x20, 0x40


def allowed_actions(d, win):
    out = d.run("xprop", "-id", str(win), "_NET_WM_ALLOWED_ACTIONS")
    return {a.strip().replace("_NET_WM_ACTION_", "") for a in out.split("=")[1].split(",")} if "=" in out else set()


def motif_hints(d, win):
    out = d.run("xprop", "-id", str(win), "_MOTIF_WM_HINTS")
    return [int(v, 16) for v in out.split("=")[1].split(",")] if "=" in out else None


def check(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def other_active(d, win):
    active = d.active_window()
    return active if active not in (None, win) else None


def check_dialog(d, name, dialog):
    actions = desktop.wait_for(lambda: allowed_actions(d, dialog), what="%s managed" % name)
    offered = actions & {"MINIMIZE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE", "CLOSE"}
    check("MOVE" in actions and not offered, "%s only moves (offered besides: %s)" % (name, sorted(offered)))
    hints = motif_hints(d, dialog)
    check(hints and hints[0] & DECORATIONS_FIELD and not hints[2] & (MENU | MINIMISE_BUTTON | MAXIMISE_BUTTON),
          "%s asks for no window menu, minimise or maximise button %s" % (name, hints))


def close_dialog(d, win, dialog):
    """Enter on the dialog's default button; the first key after an activation can get lost."""
    for _ in range(3):
        d.activate(dialog)
        d.key("Return")
        try:
            desktop.wait_for(lambda: d.active_window() == win, timeout=2, what="main window active")
            return
        except AssertionError:
            pass
    raise AssertionError("the dialog did not close")


def main():
    exe = sys.argv[1]
    with settings_file.preserved(), desktop.desktop(window_manager="icewm") as d:
        settings_file.write(settings_file.DEFAULT_LINES)
        proc = d.start([exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        win = d.wait_window(TITLE)
        desktop.wait_for(lambda: d.active_window() == win, what="main window active")
        actions = desktop.wait_for(lambda: allowed_actions(d, win), what="main window managed")
        check({"MINIMIZE", "CLOSE"} <= actions and not actions & {"MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE"},
              "the main window minimises and closes but neither maximises nor resizes %s" % sorted(actions))

        for key, name in (("alt+c", "Set Color"), ("alt+o", "Options"), ("alt+a", "the about box")):
            d.key(key, window=win)
            dialog = desktop.wait_for(lambda: other_active(d, win), what=name)
            check_dialog(d, name, dialog)
            close_dialog(d, win, dialog)

        # A minimise asked of the dialog itself, then of the main window: either way the
        # dialog is back, active, once the main window is.
        d.key("alt+c", window=win)
        colours = desktop.wait_for(lambda: other_active(d, win), what="Set Color")
        for target in (colours, win):
            d.run("xdotool", "windowminimize", str(target))
            time.sleep(0.5)
            d.activate(win)
            desktop.expect(lambda: d.is_viewable(colours) and d.active_window() == colours,
                           "after a minimise of the %s, activating the main window shows the colour dialog, active"
                           % ("dialog" if target == colours else "main window"))
        close_dialog(d, win, colours)

        d.close(win)
        proc.wait(timeout=10)
        check(proc.returncode == 0, "closing the main window ends the program")
        print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
