"""Fails when a lower layer includes a higher one. engine/ is pure C++: it includes
only itself and the standard library. settings/ builds on engine/ alone, and cli/ on
the two; none of them includes the windows (ui/), the application (app/) or Qt. The
windows (ui/) draw on Qt and the engine, never on the settings file or the application.
Outside engine/, only the engine's public headers are included (the two white-box tests
of its inner arithmetic excepted)."""
import os
import re
import sys

LAYERS = {
    # folder: the project folders its files may include from
    "engine": {"engine"},
    "settings": {"engine", "settings"},
    "cli": {"engine", "settings", "cli"},
    "ui": {"engine", "ui", "ombrix"},
}
TOOLKIT_LAYERS = {"ui"}  # may include Qt
PROJECT_FOLDERS = {"engine", "settings", "cli", "ui", "app", "fuzz", "tests", "bench", "ombrix"}
ENGINE_PUBLIC = {"engine/Fade.h", "engine/ColourTable.h", "engine/DefaultSettings.h"}
ENGINE_WHITE_BOX = {"tests/engine/ColourMathTest.cpp", "tests/engine/ColourSearchTest.cpp"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def violations(root):
    for folder, allowed in LAYERS.items():
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding="utf-8") as f:
                    text = f.read()
                for quote, header in INCLUDE.findall(text):
                    top = header.split("/")[0]
                    if top in PROJECT_FOLDERS and top not in allowed:
                        yield "%s includes %s" % (os.path.relpath(path, root), header)
                    elif quote == "<" and re.match(r"(Q|qt|X11/)", header) and folder not in TOOLKIT_LAYERS:
                        yield "%s includes %s, which is not the standard library" % (
                            os.path.relpath(path, root), header)
                    elif quote == '"' and top not in PROJECT_FOLDERS:
                        yield "%s includes \"%s\" without its folder" % (os.path.relpath(path, root), header)


def engine_internals(root):
    for folder in sorted(PROJECT_FOLDERS - {"engine"}):
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root)
                if not name.endswith((".h", ".cpp")) or rel in ENGINE_WHITE_BOX:
                    continue
                with open(path, encoding="utf-8") as f:
                    for _, header in INCLUDE.findall(f.read()):
                        if header.startswith("engine/") and header not in ENGINE_PUBLIC:
                            yield "%s includes %s, which is internal to engine/ (use engine/Fade.h)" % (rel, header)


def main():
    found = list(violations(sys.argv[1])) + list(engine_internals(sys.argv[1]))
    for v in found:
        print(v)
    print("%d include(s) against the layers" % len(found))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
