"""The program's one settings file, put back as it was after a test."""
import contextlib
import fcntl
import os
import shutil
import tempfile

PATH = "/var/tmp/kestovombrix.ini"
LOCK_PATH = "/tmp/ombrix-e2e-settings.lock"

DEFAULT_LINES = [" 0 ", " 6 ", " 16 ", " 0 ", " 0 ", " 16 ", " 8 ", " 0 ", " 15 ", " 15 ", " 0 ", " 0 ", " 15 ",
                 " 0 ", " 0 ", " 0 ", " 16 ", " 8 ", " 0 ", " 8 ", "False", " 0 ", " 0 ", " 1 "]


def file_bytes(lines):
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def with_changes(**changes):
    """Default lines with some replaced: with_changes(line21="True", line24=" 0 ")."""
    lines = list(DEFAULT_LINES)
    for key, value in changes.items():
        lines[int(key[4:]) - 1] = value
    return lines


@contextlib.contextmanager
def preserved():
    """Keeps whatever file (or nothing) was at PATH, and restores it afterwards. Holds a
    machine-wide lock meanwhile: ctest's resource lock covers one run only, and two
    checkouts tested at once share the one file."""
    with open(LOCK_PATH, "a") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        with _restored():
            yield


@contextlib.contextmanager
def _restored():
    backup = None
    if os.path.lexists(PATH):
        fd, backup = tempfile.mkstemp(prefix="kestovombrix-backup-")
        os.close(fd)
        shutil.copy2(PATH, backup, follow_symlinks=False)
    try:
        yield
    finally:
        if os.path.lexists(PATH):
            os.remove(PATH)
        if backup:
            shutil.copy2(backup, PATH, follow_symlinks=False)
            os.remove(backup)


def write(lines):
    with open(PATH, "wb") as f:
        f.write(file_bytes(lines))


def read():
    with open(PATH, "rb") as f:
        return f.read()
