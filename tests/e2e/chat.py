"""Real chat programs on a throw-away desktop: an IRC server on 127.0.0.1 (ngircd), an
observer client in the channel that notes every message that arrives there (the truth
about a send), the accessibility bus the programs show themselves on, and HexChat and
Pidgin set up to join the channel."""
import contextlib
import os
import socket
import subprocess
import tempfile
import threading
import time

import desktop

CHANNEL = "#ombrix"
HEXCHAT_TITLE = "tester @ irc.test / %s - HexChat" % CHANNEL


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _end(proc):
    """Ends a process the test started; what it started in turn ends with the desktop's
    process group."""
    if proc is None or proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(timeout=5)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(timeout=5)


def _start(desk, command, env=None, log=None):
    """Starts a program in the desktop's process group, its output to log."""
    out = open(log, "w") if log else subprocess.DEVNULL
    return desk.start(command, env=env or desk.env, stdout=out, stderr=subprocess.STDOUT)


def _tail(path, lines=15):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return "".join(f.readlines()[-lines:])
    except OSError:
        return "(no log)"


@contextlib.contextmanager
def irc_server(desk):
    """ngircd on a free port of 127.0.0.1 with the channel made in advance; yields the port."""
    port = _free_port()
    with tempfile.TemporaryDirectory(prefix="ombrix-irc-") as folder:
        conf = os.path.join(folder, "ngircd.conf")
        with open(conf, "w") as f:
            f.write("[Global]\nName = irc.test\nInfo = test\nListen = 127.0.0.1\nPorts = %d\n"
                    "ServerUID = %d\nServerGID = %d\nPidFile = %s/pid\n"
                    "[Options]\nPAM = no\nIdent = no\nDNS = no\n"
                    "[Channel]\nName = %s\nModes = +n\n"
                    % (port, os.getuid() or 65534, os.getgid() or 65534, folder, CHANNEL))
        os.chmod(folder, 0o755)
        log = os.path.join(folder, "log")
        server = _start(desk, ["ngircd", "--nodaemon", "--config", conf], dict(os.environ), log)
        try:
            def listening():
                if server.poll() is not None:
                    raise AssertionError("ngircd ended:\n" + _tail(log))
                with socket.socket() as s:
                    return s.connect_ex(("127.0.0.1", port)) == 0
            desktop.wait_for(listening, what="ngircd listening")
            yield port
        finally:
            _end(server)


class Observer:
    """An IRC client in the channel that keeps every message others say there."""

    def __init__(self, port, nick="observer"):
        self.messages = []
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=10)
        self._send("NICK %s" % nick)
        self._send("USER %s 0 * :%s" % (nick, nick))
        self._send("JOIN %s" % CHANNEL)
        self.joined = threading.Event()
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        if not self.joined.wait(10):
            raise AssertionError("the observer could not join %s" % CHANNEL)

    def _send(self, line):
        self.sock.sendall((line + "\r\n").encode("utf-8"))

    def _read(self):
        buffer = b""
        self.sock.settimeout(None)
        while True:
            try:
                data = self.sock.recv(65536)
            except OSError:
                return
            if not data:
                return
            buffer += data
            while b"\r\n" in buffer:
                raw, buffer = buffer.split(b"\r\n", 1)
                line = raw.decode("utf-8", errors="replace")
                parts = line.split(" ")
                if parts[0] == "PING":
                    self._send("PONG " + " ".join(parts[1:]))
                elif len(parts) > 1 and parts[1] == "366":  # end of the channel's names: joined
                    self.joined.set()
                elif len(parts) > 3 and parts[1] == "PRIVMSG" and parts[2] == CHANNEL:
                    self.messages.append(line.split(" :", 1)[1] if " :" in line else "")

    def close(self):
        try:
            self._send("QUIT")
            self.sock.close()
        except OSError:
            pass


@contextlib.contextmanager
def accessibility_bus(d):
    """A session bus and the accessibility bus on it, for the desktop d (its env gains them)."""
    bus = d.start(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"],
                  stdout=subprocess.PIPE, text=True)
    launcher = None
    try:
        d.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        launcher = _start(d, ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        desktop.wait_for(lambda: subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"], env=d.env, capture_output=True, timeout=5).returncode == 0,
            what="the accessibility bus")
        # GTK 2 programs show themselves only with these modules, as desktop sessions set.
        d.env["GTK_MODULES"] = "gail:atk-bridge"
        yield
    finally:
        _end(launcher)
        _end(bus)


class X11Desktop:
    """What the chat programs' set-up needs of the throw-away X desktop."""

    def __init__(self, d, focus):
        self.env = d.env
        self.d = d
        self.start = d.start
        self._focus = focus

    def has_window(self, title):
        return bool(self.d.windows_named(title))

    def press_return(self):
        self.d.run("xdotool", "key", "Return", check=False)

    def focus(self, title):
        window = self.d.wait_window(title)
        self._focus(window)
        return window


class SwayDesktop:
    """The same on the headless sway desktop, whose X11 programs run on XWayland."""

    def __init__(self, s):
        self.env = s.env
        self.s = s
        self.start = s.start

    def has_window(self, title):
        return self.s.count(title) > 0

    def press_return(self):
        self.s.keys("Return")

    def focus(self, title):
        self.s.wait_window(title)
        self.s.focus(title)
        return title


@contextlib.contextmanager
def hexchat(desk, port):
    """HexChat joined to the channel as "tester", its input field focused; yields the process
    and its window."""
    with tempfile.TemporaryDirectory(prefix="ombrix-hexchat-") as config:
        with open(os.path.join(config, "hexchat.conf"), "w") as f:
            f.write("irc_nick1 = tester\nirc_nick2 = tester2\nirc_user_name = tester\nirc_real_name = tester\n"
                    "gui_slist_skip = 1\ngui_join_dialog = 0\ngui_quit_dialog = 0\nnet_throttle = 0\n"
                    "gui_tray = 0\nirc_who_join = 0\n")
        log = os.path.join(config, "log")
        proc = _start(desk, ["hexchat", "-d", config, "--url=irc://127.0.0.1:%d/%s" % (port, CHANNEL)],
                      dict(desk.env, GDK_BACKEND="x11"), log)
        try:
            deadline = time.monotonic() + 30
            while not desk.has_window(HEXCHAT_TITLE):
                if proc.poll() is not None:
                    raise AssertionError("hexchat ended:\n" + _tail(log))
                if time.monotonic() > deadline:
                    raise AssertionError("hexchat did not join %s:\n%s" % (CHANNEL, _tail(log)))
                if os.getuid() == 0:
                    # Run as root it first warns in a box of its own, which has the focus;
                    # Return presses its OK (and does nothing in an empty input field).
                    desk.press_return()
                time.sleep(0.5)
            time.sleep(0.5)  # let it settle its own focus inside the window
            yield proc, desk.focus(HEXCHAT_TITLE)
        finally:
            _end(proc)


PIDGIN_NICK = "pidguser"  # ngircd takes nicks of up to nine characters


@contextlib.contextmanager
def pidgin(desk, port, join=True):
    """Pidgin with an IRC account on the server; with join, its conversation window for the
    channel is focused, otherwise its Buddy List. Yields the process and that window."""
    account = "%s@127.0.0.1" % PIDGIN_NICK
    with tempfile.TemporaryDirectory(prefix="ombrix-pidgin-") as config:
        with open(os.path.join(config, "accounts.xml"), "w") as f:
            f.write("<?xml version='1.0' encoding='UTF-8' ?>\n<account version='1.0'><account>"
                    "<protocol>prpl-irc</protocol><name>%s</name><settings>"
                    "<setting name='port' type='int'>%d</setting>"
                    "<setting name='encoding' type='string'>UTF-8</setting></settings>"
                    "<settings ui='gtk-gaim'><setting name='auto-login' type='bool'>1</setting></settings>"
                    "</account></account>\n" % (account, port))
        with open(os.path.join(config, "blist.xml"), "w") as f:
            f.write("<?xml version='1.0' encoding='UTF-8' ?>\n<purple version='1.0'><blist>"
                    "<group name='Chats'><chat proto='prpl-irc' account='%s'>"
                    "<component name='channel'>%s</component>"
                    "<setting name='gtk-autojoin' type='bool'>%d</setting></chat></group>"
                    "</blist></purple>\n" % (account, CHANNEL, 1 if join else 0))
        log = os.path.join(config, "log")
        proc = _start(desk, ["pidgin", "-c", config], log=log)
        try:
            # The Buddy List comes up once the account is on, after the conversation at times:
            # wait for both, so that neither takes the focus later.
            for title in ["Buddy List"] + ([CHANNEL] if join else []):
                try:
                    desktop.wait_for(lambda: desk.has_window(title), timeout=30, what=title)
                except AssertionError:
                    raise AssertionError("pidgin showed no %r window:\n%s" % (title, _tail(log))) from None
            time.sleep(0.5)  # let it settle its own focus inside the window
            yield proc, desk.focus(CHANNEL if join else "Buddy List")
        finally:
            if proc.poll() is not None:
                print("pidgin ended early (%s):\n%s" % (proc.returncode, _tail(log, 30)))
            _end(proc)


def without_colour_codes(text):
    """IRC text with mIRC colour and format codes taken out."""
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\x03":
            i += 1
            for _ in range(2):
                if i < len(text) and text[i].isdigit():
                    i += 1
            if i + 1 < len(text) and text[i] == "," and text[i + 1].isdigit():
                i += 2
                if i < len(text) and text[i].isdigit():
                    i += 1
            continue
        if c not in "\x02\x0f\x16\x1d\x1f":
            out.append(c)
        i += 1
    return "".join(out)
