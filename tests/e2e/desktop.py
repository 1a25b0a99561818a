"""A throw-away X desktop for end-to-end tests: Xvfb on a free display plus a window
manager (openbox unless told otherwise), and small wrappers over xdotool, xprop and
xclip that always time out. Everything the test starts on it runs in the desktop's
process group (Desktop.start) and ends with it."""
import contextlib
import os
import re
import select
import shutil
import subprocess
import tempfile
import time

from process_group import process_group

_STAMP = re.compile(r"^[\d:.]+ ")

# The display numbers the tests may take, the lowest free one first; X servers started
# by hand stay below them.
DISPLAYS = range(90, 190)


class DesktopError(Exception):
    """A request to the desktop failed; the message says what its server logged."""


def log_tail(path, lines=25):
    """The log's last lines, a run of lines that differ only in their time stamp shown once."""
    try:
        with open(path, errors="replace") as f:
            text = f.read().splitlines()
    except OSError as e:
        return "(no log: %s)\n" % e
    runs = []  # [first line, how many more like it]
    for line in text:
        if runs and _STAMP.sub("", line) == _STAMP.sub("", runs[-1][0]):
            runs[-1][1] += 1
        else:
            runs.append([line, 0])
    if not runs:
        return "(empty)\n"
    return "".join(line + ("  (and %d more like it)" % more if more else "") + "\n" for line, more in runs[-lines:])


def gone_message(what, proc, log):
    """A readable account of a server that ended under the test, or None while it runs."""
    if proc is None or proc.poll() is None:
        return None
    return "%s ended during the test (exit status %s); the last lines of its log:\n%s" % (
        what, proc.returncode, log_tail(log))


def _start_x_server(group, screen, log_path):
    """Xvfb on the first display number it can take, as (process, ":N"). Xvfb takes the
    display's lock itself, so two test runs started at once never share a display, and
    it writes the number to -displayfd once it accepts clients."""
    for n in DISPLAYS:
        if os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n):
            continue
        ready, ready_w = os.pipe()
        with open(log_path, "w") as log:
            proc = group.start(["Xvfb", ":%d" % n, "-displayfd", str(ready_w), "-screen", "0", screen, "-noreset",
                                "-nolisten", "tcp"], pass_fds=(ready_w,), stdout=subprocess.DEVNULL, stderr=log)
        os.close(ready_w)
        with os.fdopen(ready, "rb") as f:
            answered, _, _ = select.select([f], [], [], 20)
            number = f.readline().strip() if answered else b""
        if number:
            return proc, ":" + number.decode()
        if proc.poll() is None:  # no answer in time: not a taken display, a broken server
            raise SystemExit("Xvfb did not start on :%d within 20 s; its log:\n%s" % (n, log_tail(log_path)))
        # Another run took the display between our look and Xvfb's lock: the next one.
    raise SystemExit("no free X display number in %d..%d; the last Xvfb log:\n%s"
                     % (DISPLAYS[0], DISPLAYS[-1], log_tail(log_path)))


def wait_for(predicate, timeout=10.0, step=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    raise AssertionError("timed out waiting for " + what)


def expect(predicate, message, timeout=10.0):
    """Waits until predicate() holds, then reports message as passed; fails with it otherwise."""
    try:
        wait_for(predicate, timeout, what=message)
    except AssertionError:
        raise AssertionError(message) from None
    print("ok:", message)


class Desktop:
    def __init__(self, display, group):
        self.display = display
        self.group = group
        self.env = dict(os.environ, DISPLAY=display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)

    def start(self, args, **kwargs):
        """subprocess.Popen on this desktop (its environment unless given), in its process group."""
        kwargs.setdefault("env", self.env)
        return self.group.start(args, **kwargs)

    def run(self, *args, timeout=10, check=True):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True, timeout=timeout,
                              check=check).stdout

    def windows_named(self, name):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name], env=self.env,
                             capture_output=True, text=True, timeout=10).stdout
        return [int(w) for w in out.split()]

    def wait_window(self, name, timeout=10):
        return wait_for(lambda: self.windows_named(name), timeout, what="window %r" % name)[0]

    def active_window(self):
        out = subprocess.run(["xdotool", "getactivewindow"], env=self.env, capture_output=True, text=True,
                             timeout=10).stdout.strip()
        return int(out) if out else None

    def focused_window(self):
        """The window with the keyboard focus; unlike the active window it needs no window manager."""
        out = subprocess.run(["xdotool", "getwindowfocus", "-f"], env=self.env, capture_output=True, text=True,
                             timeout=10).stdout.strip()
        return int(out) if out else None

    def is_viewable(self, window):
        return "IsViewable" in self.run("xwininfo", "-id", str(window), check=False)

    def clipboard(self):
        """The clipboard's text, or None when nobody holds it."""
        r = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env, capture_output=True,
                           timeout=10)
        return r.stdout.decode("utf-8") if r.returncode == 0 else None

    def wm_state(self, window):
        return self.run("xprop", "-id", str(window), "_NET_WM_STATE")

    def is_above(self, window):
        return "_NET_WM_STATE_ABOVE" in self.wm_state(window)

    def key(self, *keys, window=None):
        args = ["xdotool", "key", "--clearmodifiers"]
        if window:
            args += ["--window", str(window)]
        self.run(*(args + list(keys)))

    def type(self, text):
        self.run("xdotool", "type", "--delay", "20", text)

    def click(self, window, x, y):
        """Left click at (x, y) pixels of the window's client area."""
        self.run("xdotool", "mousemove", "--window", str(window), str(x), str(y), "click", "1")

    def activate(self, window):
        self.run("xdotool", "windowactivate", str(window), check=False)

    def close(self, window):
        """Asks the window to close as its close box does (openbox binds Alt+F4 to it)."""
        self.activate(window)
        wait_for(lambda: self.active_window() == window, what="window active before closing")
        self.run("xdotool", "key", "--clearmodifiers", "alt+F4")

    def screenshot(self, path):
        self.run("import", "-window", "root", path, timeout=30)


# How each window manager the tests use is started: openbox is the usual desktop; icewm
# reads the Motif hints' functions and decorations field by field.
WINDOW_MANAGERS = {"openbox": ["openbox"], "icewm": ["icewm"]}


@contextlib.contextmanager
def desktop(screen="1280x800x24", window_manager=True):
    """window_manager: True for openbox, a name from WINDOW_MANAGERS, or False for none."""
    if window_manager is True:
        window_manager = "openbox"
    wm_command = WINDOW_MANAGERS[window_manager] if window_manager else []
    for tool in ["Xvfb", "xdotool", "xprop"] + wm_command[:1]:
        if not shutil.which(tool):
            raise RuntimeError("missing %s (run scripts/setup.sh)" % tool)
    with tempfile.TemporaryDirectory(prefix="ombrix-desktop-") as folder, process_group() as group:
        x_log = os.path.join(folder, "Xvfb.log")
        wm_log = os.path.join(folder, "%s.log" % window_manager)
        xvfb, display = _start_x_server(group, screen, x_log)
        wm = None
        d = Desktop(display, group)
        # The user's own choices start fresh: the real ones are not the test's to read or change.
        d.env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
        os.mkdir(d.env["XDG_CONFIG_HOME"])
        try:
            if window_manager:
                with open(wm_log, "w") as log:
                    wm = d.start(wm_command, stdout=log, stderr=subprocess.STDOUT)
                wait_for(lambda: wm.poll() is not None or "_NET_SUPPORTING_WM_CHECK(WINDOW)" in d.run(
                    "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False), what=window_manager)
                if wm.poll() is None:
                    time.sleep(0.5)  # a window manager announces itself before it manages windows
            gone = gone_message("Xvfb", xvfb, x_log) or gone_message(window_manager, wm, wm_log)
            if gone:
                raise SystemExit(gone)
            yield d
        except Exception as e:
            # A request to a server that has gone fails in some unhelpful way: say what ended.
            gone = gone_message("Xvfb", xvfb, x_log) or gone_message(window_manager, wm, wm_log)
            if gone:
                raise SystemExit(gone) from None
            if isinstance(e, DesktopError):
                raise SystemExit(str(e)) from None
            raise
