"""A throw-away headless sway desktop with XWayland for end-to-end tests, and small
wrappers over swaymsg, wl-paste and the tests' own keyboard (ombrix_wl_type).

sway refuses to run as root, so it runs as the unprivileged user nobody; its runtime
folder and the X server let root's clients in. sway, XWayland and everything the test
starts on the desktop (Sway.start) share one process group and end with it."""
import contextlib
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time

from desktop import DesktopError, gone_message, log_tail, wait_for
from process_group import process_group

NOBODY = 65534
CONFIG = """xwayland force
output HEADLESS-1 resolution 1280x800
default_border normal
exec sh -c 'echo "$DISPLAY" > "$XDG_RUNTIME_DIR/x-display.tmp" && xhost +si:localuser:root > "$XDG_RUNTIME_DIR/xhost.log" 2>&1 && mv "$XDG_RUNTIME_DIR/x-display.tmp" "$XDG_RUNTIME_DIR/x-display"'
"""


def _walk(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from _walk(child)


class Sway:
    def __init__(self, runtime, wl_type, group):
        self.runtime = runtime
        self.wl_type = wl_type
        self.group = group
        with open(os.path.join(runtime, "x-display")) as f:
            display = f.read().strip()
        sockets = [n for n in os.listdir(runtime) if n.startswith("sway-ipc.")]
        self.env = dict(os.environ, XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="wayland-1", DISPLAY=display,
                        SWAYSOCK=os.path.join(runtime, sockets[0]), NO_AT_BRIDGE="1")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("GDK_BACKEND", None)

    def start(self, args, **kwargs):
        """subprocess.Popen on this desktop (its environment unless given), in its process group."""
        kwargs.setdefault("env", self.env)
        return self.group.start(args, **kwargs)

    def msg(self, *args):
        r = subprocess.run(["swaymsg", *args], env=self.env, capture_output=True, text=True, timeout=10)
        if r.returncode != 0:
            raise DesktopError("swaymsg %s failed (exit status %d): %s\nthe last lines of sway's log:\n%s"
                               % (" ".join(args), r.returncode, (r.stderr or r.stdout).strip(),
                                  log_tail(os.path.join(self.runtime, "sway.log"))))
        return r.stdout

    def windows(self):
        """Every window as (name, shell, focused)."""
        tree = json.loads(self.msg("-t", "get_tree"))
        return [(n.get("name"), n.get("shell"), n.get("focused")) for n in _walk(tree) if n.get("shell")]

    def focused(self):
        return next((name for name, _, focused in self.windows() if focused), None)

    def app_id(self, name):
        """The Wayland app id of the window named (None for an X11 window)."""
        tree = json.loads(self.msg("-t", "get_tree"))
        return next((n.get("app_id") for n in _walk(tree) if n.get("shell") and n.get("name") == name), None)

    def count(self, name):
        return sum(1 for n, _, _ in self.windows() if n == name)

    def wait_window(self, name, timeout=10):
        wait_for(lambda: self.count(name) > 0, timeout, what="window %r" % name)

    def focus(self, name):
        self.msg('[title="^%s$"] focus' % name)
        wait_for(lambda: self.focused() == name, what="%r focused" % name)

    def type(self, *text):
        """Types the text, then Return; returns the monotonic time Return went out."""
        return self._keys(list(text))

    def keys(self, *keys):
        return self._keys(["--keys", *keys])

    def _keys(self, args):
        out = subprocess.run([self.wl_type, *args], env=self.env, capture_output=True, text=True, timeout=30,
                             check=True).stdout
        return float(out.split()[-1])

    def clipboard(self):
        """The clipboard's text as Wayland programs see it, or None when it is empty."""
        r = subprocess.run(["wl-paste", "--no-newline"], env=self.env, capture_output=True, timeout=10)
        return r.stdout.decode("utf-8") if r.returncode == 0 else None


class FocusLog:
    """When each window took the focus, as sway announces it: timing a send this way
    leaves out the time the test takes to poll."""

    def __init__(self, sway):
        self.changes = []
        self.proc = sway.start(["swaymsg", "-t", "subscribe", "-m", '["window"]'], stdout=subprocess.PIPE, text=True)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            try:
                event = json.loads(line)
            except ValueError:
                continue
            if event.get("change") == "focus":
                self.changes.append((time.monotonic(), event["container"].get("name")))

    def focused_after(self, start, name):
        """When the window named took the focus after some other one did, from start on."""
        left = False
        for when, who in list(self.changes):
            if when < start:
                continue
            if who != name:
                left = True
            elif left:
                return when
        return None

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=5)


@contextlib.contextmanager
def sway(wl_type):
    for tool in ("sway", "swaymsg", "Xwayland", "xhost", "setpriv", "wl-paste"):
        if not shutil.which(tool):
            raise RuntimeError("missing %s (run scripts/setup.sh)" % tool)
    # XWayland's socket folder; on a fresh machine nothing has made it yet.
    os.makedirs("/tmp/.X11-unix", exist_ok=True)
    os.chmod("/tmp/.X11-unix", 0o1777)
    runtime = tempfile.mkdtemp(prefix="ombrix-sway-")
    try:
        os.chown(runtime, NOBODY, NOBODY)
        os.chmod(runtime, 0o700)
        config = os.path.join(runtime, "config")
        with open(config, "w") as f:
            f.write(CONFIG)
        os.chmod(config, 0o644)
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": runtime, "XDG_RUNTIME_DIR": runtime,
               "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        log_path = os.path.join(runtime, "sway.log")
        with process_group() as group:
            with open(log_path, "w") as log:
                proc = group.start(["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups",
                                    "sway", "-c", config], env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
            try:
                wait_for(lambda: os.path.exists(os.path.join(runtime, "x-display")) or proc.poll() is not None,
                         timeout=20, what="sway and XWayland")
                if proc.poll() is not None:
                    raise SystemExit("sway did not start (exit status %d); the last lines of its log:\n%s"
                                     % (proc.returncode, log_tail(log_path)))
                yield Sway(runtime, wl_type, group)
            except Exception as e:
                # A request to a compositor that has gone fails in some unhelpful way: say what ended.
                gone = gone_message("sway", proc, log_path)
                if gone:
                    raise SystemExit(gone) from None
                if isinstance(e, DesktopError):
                    raise SystemExit(str(e)) from None
                raise
    finally:
        shutil.rmtree(runtime, ignore_errors=True)
