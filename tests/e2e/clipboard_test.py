"""Send in clipboard mode puts the HTML on the clipboard twice: as plain text, byte for
byte the HTML, and as text/html, which a rich editor loads as coloured text.

    clipboard_test.py OMBRIX OMBRIX_FADE CLIPBOARD_PROBE"""
import json
import re
import subprocess
import sys

import desktop
import settings_file

TITLE = "HTML Ombrix"
# Beyond ASCII, outside the BMP, and a line break; no double spaces, which HTML folds.
MESSAGE = "Gr\u00fc\u00dfe, caf\u00e9 \U0001F600\nfin"


def check(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def clipboard_bytes(d, target):
    return subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"], env=d.env,
                          capture_output=True, timeout=10, check=True).stdout


def colours_from_html(html):
    """Each character with the colour of the last FONT tag before it; <BR> as a line break."""
    characters, current = [], None
    for tag, br, char in re.findall(r"<FONT COLOR=([0-9A-F]{6})>|(<BR>)|(.)", html, re.S):
        if tag:
            current = tag
        else:
            characters.append(["\n" if br else char, current])
    return characters


def main():
    ombrix, fade_exe, probe = sys.argv[1:4]
    with settings_file.preserved(), desktop.desktop() as d:
        settings_file.write(settings_file.with_changes(line1=" 1 "))
        proc = d.start([ombrix], stdout=subprocess.DEVNULL)
        try:
            win = d.wait_window(TITLE)
            desktop.wait_for(lambda: d.active_window() == win, what="main window active")
            # The message goes in as a paste: xdotool cannot type every character.
            owner = d.start(["xclip", "-selection", "clipboard", "-i"], stdin=subprocess.PIPE)
            owner.communicate(MESSAGE.encode("utf-8"), timeout=10)
            d.key("ctrl+v")
            expected = subprocess.run([fade_exe], input=MESSAGE.replace("\n", "\r\n").encode("utf-8"),
                                      capture_output=True, check=True).stdout
            d.key("Return")
            desktop.wait_for(lambda: clipboard_bytes(d, "UTF8_STRING") == expected, what="the HTML on the clipboard")

            targets = clipboard_bytes(d, "TARGETS").decode("ascii").split()
            check("text/html" in targets and "UTF8_STRING" in targets and "text/plain" in targets,
                  "the clipboard offers text/html and plain text")
            for target in ("UTF8_STRING", "text/plain;charset=utf-8", "text/plain"):
                if target in targets:
                    check(clipboard_bytes(d, target) == expected, "%s is byte for byte the HTML" % target)

            found = json.loads(subprocess.run([probe], env=d.env, capture_output=True, timeout=20,
                                              check=True).stdout.decode("utf-8"))
            check(found["text"].encode("utf-8") == expected, "a Qt program reads the plain text as the HTML")
            html = expected.decode("utf-8")
            want = colours_from_html(html)
            check(len(set(colour for _, colour in want)) > 3, "the message fades across several colours")
            if found["characters"] != want:
                print("loaded:  ", found["characters"], "\nexpected:", want)
            check(found["characters"] == want,
                  "text/html loaded into a QTextDocument gives each character its colour, accents and emoji intact")
        finally:
            proc.terminate()
            proc.wait(timeout=5)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
