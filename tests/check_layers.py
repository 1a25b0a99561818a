"""Fails on includes that step around the layers where the build cannot see them.

The build itself keeps the layers apart: each library's include root holds only its own
headers (cmake/IncludeRoot.cmake), so an include of a layer above or beside it, of the
engine's inner headers, or of Qt in the pure C++ layers fails to compile, and the
layers_* tests check that the roots stay that way. Two things get past any include root:

- A quoted include is looked up beside the including file first, so "../app/OmbrixApp.h"
  or "x11/X11Session.h" (from app/) reaches another folder without the root. Quoted
  includes are therefore either spelled from the project root ("engine/Fade.h") or a
  bare name: a file beside the including one, or a generated header.
- The window system's headers (X11, xcb, Wayland, GLib) sit in the compiler's default
  search path, where any file finds them. engine/, settings/ and cli/ are pure C++ and
  include none of them.
"""
import os
import re
import sys

CODE_FOLDERS = ["engine", "settings", "cli", "ui", "app", "tests", "bench", "fuzz"]
# The folders a quoted include may start from: ours, and the generated ombrix/Version.h.
PROJECT_FOLDERS = set(CODE_FOLDERS) | {"ombrix"}
PURE_LAYERS = {"engine", "settings", "cli"}
WINDOW_SYSTEM = re.compile(r"(X11/|xcb/|wayland-|xkbcommon/|glib|gio/|atspi/|dbus/|gtk)")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def violations(root):
    for folder in CODE_FOLDERS:
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root)
                with open(path, encoding="utf-8") as f:
                    text = f.read()
                for quote, header in INCLUDE.findall(text):
                    parts = header.split("/")
                    if quote == '"' and len(parts) > 1 and (parts[0] not in PROJECT_FOLDERS or ".." in parts):
                        yield '%s includes "%s": spell it from the project root' % (rel, header)
                    elif quote == "<" and folder in PURE_LAYERS and WINDOW_SYSTEM.match(header):
                        yield "%s includes <%s>, which belongs to the window system" % (rel, header)


def main():
    found = list(violations(sys.argv[1]))
    for v in found:
        print(v)
    print("%d include(s) around the layers" % len(found))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
