"""One process group per throw-away desktop: its server, window manager, the program
under test and every window the test opens, ended together whatever way the test ends.

The group's leader is a small keeper that only waits: it holds the group open while
members come and go, and when the test process dies without ending the group (killed
outright, say), its pipe from the test closes and it ends the group itself."""
import contextlib
import ctypes
import os
import signal
import subprocess
import sys
import time

# The keeper: reads until the test process is gone, then ends the group, itself last.
_KEEPER = """
import os, signal, sys, time
sys.stdin.buffer.read()
signal.signal(signal.SIGTERM, signal.SIG_IGN)
os.killpg(0, signal.SIGTERM)
time.sleep(3)
os.killpg(0, signal.SIGKILL)
"""

_PR_SET_CHILD_SUBREAPER = 36


class Terminated(BaseException):
    """SIGTERM (ctest's timeout) or SIGHUP arrived: unwinds like Ctrl+C, through every finally."""


def _raise_terminated(signum, _frame):
    raise Terminated("stopped by signal %d" % signum)


def _adopt_orphans():
    # Members whose parent ended (Xwayland after sway) come to us, so that we can reap
    # them and see the group empty; without, they would stay zombies under init.
    try:
        ctypes.CDLL(None, use_errno=True).prctl(_PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    except (OSError, AttributeError):
        pass


class ProcessGroup:
    def __init__(self):
        _adopt_orphans()
        self.keeper = subprocess.Popen([sys.executable, "-c", _KEEPER], stdin=subprocess.PIPE,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       process_group=0)
        self.id = self.keeper.pid

    def start(self, args, **kwargs):
        """subprocess.Popen, the process joining the group."""
        return subprocess.Popen(args, process_group=self.id, **kwargs)

    def _reap(self):
        while True:
            try:
                pid, _ = os.waitpid(-self.id, os.WNOHANG)
            except ChildProcessError:
                return
            if pid == 0:
                return

    def _empty_within(self, seconds):
        deadline = time.monotonic() + seconds
        while True:
            self._reap()
            try:
                os.killpg(self.id, 0)
            except ProcessLookupError:
                return True
            if time.monotonic() >= deadline:
                return False
            time.sleep(0.05)

    def end(self):
        """Asks every member to end, then kills what is left; returns when the group is gone."""
        for sig, grace in ((signal.SIGTERM, 5), (signal.SIGKILL, 5)):
            try:
                os.killpg(self.id, sig)
            except ProcessLookupError:
                break
            if self._empty_within(grace):
                break
        self.keeper.stdin.close()
        self.keeper.wait()


@contextlib.contextmanager
def process_group():
    """A new process group, ended on the way out; SIGTERM and SIGHUP end the test through it."""
    previous = {s: signal.signal(s, _raise_terminated) for s in (signal.SIGTERM, signal.SIGHUP)}
    group = ProcessGroup()
    try:
        yield group
    except Terminated as e:
        raise SystemExit("%s: ended the desktop and everything on it" % e) from None
    finally:
        for s in previous:
            signal.signal(s, signal.SIG_IGN)  # a second SIGTERM must not cut the ending short
        group.end()
        for s, handler in previous.items():
            signal.signal(s, handler)
