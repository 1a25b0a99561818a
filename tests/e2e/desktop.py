"""A throw-away X desktop for end-to-end tests: Xvfb on a free display plus a window
manager (openbox unless told otherwise), and small wrappers over xdotool, xprop and
xclip that always time out."""
import contextlib
import os
import shutil
import subprocess
import tempfile
import time


def _free_display():
    for n in range(90, 190):
        if not os.path.exists("/tmp/.X%d-lock" % n) and not os.path.exists("/tmp/.X11-unix/X%d" % n):
            return ":%d" % n
    raise RuntimeError("no free X display number")


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
    def __init__(self, display):
        self.display = display
        self.env = dict(os.environ, DISPLAY=display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)

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
    display = _free_display()
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", screen, "-noreset", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wm = None
    config = None
    try:
        d = Desktop(display)
        # The user's own choices start fresh: the real ones are not the test's to read or change.
        config = tempfile.TemporaryDirectory(prefix="ombrix-config-")
        d.env["XDG_CONFIG_HOME"] = config.name
        wait_for(lambda: subprocess.run(["xprop", "-root"], env=d.env, capture_output=True,
                                        timeout=5).returncode == 0, what="Xvfb")
        if window_manager:
            wm = subprocess.Popen(wm_command, env=d.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_for(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in d.run(
                "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False), what=window_manager)
            time.sleep(0.5)  # a window manager announces itself before it manages windows
        yield d
    finally:
        if config:
            config.cleanup()
        for p in (wm, xvfb):
            if p:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
