"""Sends into real chat programs on a throw-away desktop, as a user would, and takes what
arrives in the IRC channel as the truth about each send.

    chat_delivery_test.py OMBRIX OMBRIX_FADE CASE

CASE is one of: hexchat, hexchat-stopped, pidgin, pidgin-buddy-list."""
import os
import signal
import statistics
import subprocess
import sys
import threading
import time

import chat
import desktop
import settings_file
from delivery_test import ActiveWindowLog, Session, check, fade

TITLE = "HTML Ombrix"
SENDS = 20


class Tool:
    """The program with its standard error kept, where it tells what became of a send."""

    def __init__(self, s, config_home):
        self.s = s
        self.errors = os.path.join(config_home, "ombrix-stderr")
        self.proc = s.d.start([s.ombrix], env=s.ombrix_env, stdout=subprocess.DEVNULL,
                              stderr=open(self.errors, "w"))
        s.procs.append(self.proc)
        s.tool = self
        self.window = s.d.wait_window(TITLE)
        desktop.wait_for(lambda: s.has_focus(self.window), what="main window focused")

    def told(self):
        with open(self.errors, encoding="utf-8", errors="replace") as f:
            return f.read()

    def back(self):
        return self.s.main_window_back()

    def wait_message_box(self):
        """The tool writes what it tells to standard error before its box shows."""
        desktop.wait_for(lambda: len(self.s.d.windows_named(TITLE)) == 2, what="the tool's message box")
        time.sleep(0.3)  # mapped is not yet focused


def visible_windows(d, proc):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(proc.pid)], env=d.env,
                         capture_output=True, text=True, timeout=10).stdout
    return set(out.split())


def received_once(observer, html):
    """What the channel should show: the HTML as the client sends it (no trailing space)."""
    return observer.messages.count(html.rstrip(" ")) == 1


def not_sent_then_enter(s, tool, observer, fade_exe, client, program, choose_with_menu):
    """Default settings: Alt+S does not send in this client. The tool must say so, keep the
    message, and leave the client without a menu or chooser open."""
    windows_before = visible_windows(s.d, client)
    message = "first try"
    s.d.type(message)
    s.d.key("Return")
    desktop.expect(lambda: "Pasted, not sent: %s did not send" % program in tool.told(),
                   "the tool says the message was pasted, not sent, and names %s" % program)
    time.sleep(1.0)
    check(observer.messages == [], "the channel received nothing")
    check(visible_windows(s.d, client) == windows_before, "%s has no menu or chooser open" % program)
    # The question offers Enter: take it there, or say No and choose it from the message
    # box's menu.
    tool.wait_message_box()
    s.d.key("alt+n" if choose_with_menu else "alt+y")
    desktop.expect(tool.back, "the tool is active again after the question")
    if choose_with_menu:
        # Shift+F10 opens the box's menu; Send Key (K), the program, its second key: Enter.
        s.d.key("shift+F10")
        time.sleep(0.4)
        for key in ("k", "Return", "Down", "Return"):
            s.d.key(key)
            time.sleep(0.3)
        conf = os.path.join(s.d.env["XDG_CONFIG_HOME"], "ombrix", "ombrix.conf")
        desktop.expect(lambda: os.path.exists(conf) and "%s=enter" % program.lower() in open(conf).read().lower(),
                       "Enter chosen for %s from the keyboard, kept in the user's configuration" % program)
    # Send again: the message is in the client's field already; Enter sends it, once.
    s.d.key("Return")
    expected = fade(fade_exe, message)
    desktop.expect(lambda: observer.messages, "the channel received the message after Enter was chosen")
    return expected


def twenty_sends(s, tool, observer, fade_exe, client_window, matches):
    spy = ActiveWindowLog(s.d)
    times = []
    start_count = len(observer.messages)
    for i in range(SENDS):
        message = "message %d, fading" % i
        s.d.type(message)
        start = time.monotonic()
        s.d.key("Return")
        desktop.wait_for(lambda: len(observer.messages) > start_count + i, timeout=15, step=0.01,
                         what="send %d received" % (i + 1))
        desktop.wait_for(tool.back, timeout=10, step=0.005, what="main window back")
        back = spy.back_after(start, client_window, s.main_window())
        times.append((back if back is not None else time.monotonic()) - start)
        check(matches(observer.messages[start_count + i], message, fade(fade_exe, message)),
              "send %d arrived whole" % (i + 1))
    time.sleep(1.0)
    check(len(observer.messages) == start_count + SENDS, "exactly %d messages arrived" % SENDS)
    check("not sent" not in tool.told().split("Send with Enter")[-1], "no send was reported as not sent")
    spy.stop()
    print("%d sends tried, %d received, each reported sent; Enter to main window active again: median %.0f ms, "
          "min %.0f, max %.0f" % (SENDS, len(observer.messages) - start_count, statistics.median(times) * 1000,
                                 min(times) * 1000, max(times) * 1000))


def hexchat(s, fade_exe, port, observer):
    with chat.hexchat(chat.X11Desktop(s.d, s.focus), port) as (client, window):
        tool = Tool(s, s.d.env["XDG_CONFIG_HOME"])
        expected = not_sent_then_enter(s, tool, observer, fade_exe, client, "hexchat", True)
        check(observer.messages == [expected], "the channel got the message once, as the HTML")
        desktop.expect(tool.back, "the tool is back")
        twenty_sends(s, tool, observer, fade_exe, window, lambda got, message, html: got == html.rstrip(" "))


def pidgin(s, fade_exe, port, observer):
    """Pidgin takes the clipboard's text/html flavour: its field shows, and IRC gets, the text."""
    with chat.pidgin(chat.X11Desktop(s.d, s.focus), port) as (client, window):
        tool = Tool(s, s.d.env["XDG_CONFIG_HOME"])
        not_sent_then_enter(s, tool, observer, fade_exe, client, "Pidgin", False)
        check([chat.without_colour_codes(m) for m in observer.messages] == ["first try"],
              "the channel got the message once")
        desktop.expect(tool.back, "the tool is back")
        twenty_sends(s, tool, observer, fade_exe, window,
                     lambda got, message, html: chat.without_colour_codes(got).strip() == message)


def pidgin_buddy_list(s, fade_exe, port, observer):
    """The Buddy List fetches the paste though it has no text field: nothing may be pressed."""
    with chat.pidgin(chat.X11Desktop(s.d, s.focus), port, join=False) as (client, window):
        tool = Tool(s, s.d.env["XDG_CONFIG_HOME"])
        windows_before = visible_windows(s.d, client)
        s.d.type("kept")
        s.d.key("Return")
        desktop.expect(lambda: "Pidgin had no text field in focus" in tool.told(),
                       "the tool says Pidgin had no text field")
        tool.wait_message_box()
        s.d.key("Return")  # closes it
        desktop.expect(tool.back, "the tool is back")
        time.sleep(1.0)
        check(observer.messages == [], "the channel received nothing")
        check(visible_windows(s.d, client) == windows_before, "no chat window or chooser was opened in Pidgin")
        check(s.d.clipboard() == fade(fade_exe, "kept"), "the HTML stays on the clipboard to paste by hand")
        # Send works only with a message in the box: a second report shows it was kept.
        s.d.key("Return")
        desktop.expect(lambda: tool.told().count("Pidgin had no text field") == 2, "the message was kept in the box")
        tool.wait_message_box()
        s.d.key("Return")


def hexchat_stopped(s, fade_exe, port, observer):
    """A target that stops for a second right after the paste keys: nothing may be pressed
    before the text is in its field."""
    conf = os.path.join(s.d.env["XDG_CONFIG_HOME"], "ombrix")
    os.makedirs(conf, exist_ok=True)
    with open(os.path.join(conf, "ombrix.conf"), "w") as f:
        f.write("[SendKey]\nhexchat=enter\n")
    with chat.hexchat(chat.X11Desktop(s.d, s.focus), port) as (client, _):
        tool = Tool(s, s.d.env["XDG_CONFIG_HOME"])
        resumed = []

        def stop_after_hide():
            desktop.wait_for(lambda: not s.d.is_viewable(tool.window), step=0.005, what="main window hidden")
            time.sleep(0.2)  # the tool has pressed Ctrl+V by now
            os.kill(client.pid, signal.SIGSTOP)
            time.sleep(1.0)
            resumed.append(time.monotonic())
            os.kill(client.pid, signal.SIGCONT)

        stopper = threading.Thread(target=stop_after_hide)
        stopper.start()
        s.d.type("held up")
        s.d.key("Return")
        stopper.join(timeout=20)
        desktop.expect(lambda: observer.messages, "the channel received the message")
        arrived = time.monotonic()
        time.sleep(1.0)
        check(observer.messages == [fade(fade_exe, "held up")], "it arrived once, whole, with no space before it")
        check(resumed and arrived > resumed[0], "nothing was sent while the client was stopped")
        check("not sent" not in tool.told(), "the tool reported no failure")


def main():
    ombrix, fade_exe, case = sys.argv[1:4]
    with settings_file.preserved(), desktop.desktop() as d, chat.irc_server(d) as port, \
            chat.accessibility_bus(d):
        settings_file.write(settings_file.DEFAULT_LINES)
        observer = chat.Observer(port)
        s = Session(d, True, ombrix)
        s.tool = None
        try:
            if case == "hexchat":
                hexchat(s, fade_exe, port, observer)
            elif case == "pidgin":
                pidgin(s, fade_exe, port, observer)
            elif case == "pidgin-buddy-list":
                pidgin_buddy_list(s, fade_exe, port, observer)
            elif case == "hexchat-stopped":
                hexchat_stopped(s, fade_exe, port, observer)
            else:
                raise SystemExit("unknown case " + case)
        except Exception:
            s.d.screenshot(os.path.join(os.environ.get("TMPDIR", "/tmp"), "ombrix-chat-failure.png"))
            if s.tool:
                print("what the tool said:\n" + s.tool.told())
            raise
        finally:
            s.stop()
            observer.close()
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
