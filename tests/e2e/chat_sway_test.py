"""A real chat program (through XWayland) on the headless sway desktop, with the tool on
the Wayland platform: the accessibility bus shows the target there as on X11.

    chat_sway_test.py OMBRIX OMBRIX_FADE WL_TYPE CLIENT

CLIENT is hexchat or pidgin."""
import os
import statistics
import subprocess
import sys
import tempfile
import time

import chat
import desktop
import settings_file
import sway
from delivery_test import check, fade

TITLE = "HTML Ombrix"
SENDS = 20


def main():
    ombrix, fade_exe, wl_type, client = sys.argv[1:5]
    with settings_file.preserved(), sway.sway(wl_type) as s, chat.irc_server(s) as port, \
            tempfile.TemporaryDirectory(prefix="ombrix-config-") as config:
        s.env.pop("NO_AT_BRIDGE", None)
        s.env["XDG_CONFIG_HOME"] = config
        with chat.accessibility_bus(s):
            settings_file.write(settings_file.DEFAULT_LINES)
            observer = chat.Observer(port)
            start_client = chat.hexchat if client == "hexchat" else chat.pidgin
            with start_client(chat.SwayDesktop(s), port):
                told = os.path.join(config, "ombrix-stderr")
                tool = s.start([ombrix], env=s.env, stdout=subprocess.DEVNULL, stderr=open(told, "w"))
                try:
                    run(s, tool, told, observer, fade_exe, client)
                except Exception:
                    with open(told) as f:
                        print("what the tool said:\n" + f.read())
                    raise
                finally:
                    tool.terminate()
                    tool.wait(timeout=5)
                    observer.close()
    print("1 passed, 0 failed")


def run(s, tool, told, observer, fade_exe, client):
    program = {"hexchat": "hexchat", "pidgin": "Pidgin"}[client]

    def arrived(got, message):
        # HexChat sends the HTML as it is; Pidgin takes the text/html flavour and sends its text.
        if client == "hexchat":
            return got == fade(fade_exe, message)
        return chat.without_colour_codes(got).strip() == message

    def said():
        with open(told, encoding="utf-8", errors="replace") as f:
            return f.read()

    def back():
        return s.focused() == TITLE and s.count(TITLE) == 1

    s.wait_window(TITLE)
    desktop.wait_for(back, what="main window focused")
    shell = next(sh for name, sh, _ in s.windows() if name == TITLE)
    check(shell == "xdg_shell", "the tool runs on the Wayland platform")

    s.type("first try")
    desktop.expect(lambda: "Pasted, not sent: %s did not send" % program in said(),
                   "the tool says the message was pasted, not sent, and names %s" % program)
    time.sleep(1.0)
    check(observer.messages == [], "the channel received nothing")
    desktop.wait_for(lambda: s.focused() == TITLE and s.count(TITLE) == 2, what="the question")
    s.keys("alt+y")  # send with Enter in this program from now on
    desktop.expect(back, "the tool is active again after the question")
    s.keys("Return")
    desktop.expect(lambda: len(observer.messages) == 1 and arrived(observer.messages[0], "first try"),
                   "the channel got the message once, after Enter was chosen")

    log = sway.FocusLog(s)
    times = []
    try:
        for i in range(SENDS):
            desktop.wait_for(back, what="main window back")
            message = "message %d, fading" % i
            enter = s.type(message)
            desktop.wait_for(lambda: len(observer.messages) > i + 1, timeout=15, step=0.01,
                             what="send %d received" % (i + 1))
            desktop.wait_for(back, timeout=10, step=0.005, what="main window back")
            returned = log.focused_after(enter, TITLE)
            times.append((returned if returned is not None else time.monotonic()) - enter)
            check(arrived(observer.messages[i + 1], message), "send %d arrived whole" % (i + 1))
    finally:
        log.stop()
    time.sleep(1.0)
    check(len(observer.messages) == SENDS + 1, "exactly %d messages arrived" % SENDS)
    check(said().count("not sent") == 1, "no send after the first was reported as not sent")
    print("sway, Wayland platform into %s on XWayland: %d sends tried, %d received, each reported sent; "
          "Enter to main window active again: median %.0f ms, min %.0f, max %.0f"
          % (program, SENDS, len(observer.messages) - 1, statistics.median(times) * 1000, min(times) * 1000,
             max(times) * 1000))


if __name__ == "__main__":
    main()
