"""Runs ombrix-fade on random texts and colour tables and compares every byte of its
output with the reference implementation beside this file."""
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reference_fade import fade_text, max_length, units_to_str, utf16_units  # noqa: E402

ALPHABET = ["a", "b", " ", "\r", "\n", "\r\n", "\t", "<", "&", "\u00e9", "\U0001F600", "\u4e2d", "\ufeff", "x"]
UNITS = {piece: len(utf16_units(piece)) for piece in ALPHABET}


def random_text(rng, colours):
    limit = max_length(colours)
    shape = rng.random()
    if shape < 0.05:
        length = limit  # exactly at the limit (in code units, so trimmed below)
    elif shape < 0.5:
        length = rng.randint(0, 12)
    else:
        length = rng.randint(0, 300)
    pieces, units = [], 0
    for _ in range(length):
        piece = rng.choice(ALPHABET)
        size = UNITS[piece]
        if units + size > limit:  # stop at the limit without splitting a pair
            break
        pieces.append(piece)
        units += size
    return "".join(pieces)


def random_settings(rng):
    """A colour count, its levels and the two tag options, at random."""
    colours = rng.randint(1, 6)
    levels = [tuple(rng.choice([0, 16, rng.randint(0, 16)]) for _ in range(3)) for _ in range(colours)]
    return colours, levels, rng.randint(0, 1), rng.randint(0, 1)


def arguments(levels, tags, final):
    args = []
    for r, g, b in levels:
        args += ["--color", "%d,%d,%d" % (r, g, b)]
    if tags:
        args.append("--end-tags")
    if final:
        args.append("--final-tag")
    return args


def random_case(rng):
    """The arguments and the standard input of one random run."""
    colours, levels, tags, final = random_settings(rng)
    return arguments(levels, tags, final), random_text(rng, colours).encode("utf-8")


def main():
    exe, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(20261208)
    failures = 0
    for case in range(count):
        colours, levels, tags, final = random_settings(rng)
        text = random_text(rng, colours)
        args = [exe] + arguments(levels, tags, final)
        expected = units_to_str(fade_text(utf16_units(text), colours, levels, tags, final)).encode("utf-8")
        got = subprocess.run(args, input=text.encode("utf-8"), capture_output=True, check=False)
        if got.returncode != 0 or got.stdout != expected:
            failures += 1
            if failures <= 5:
                print("case %d differs: args=%r text=%r\n  want %r\n  got  %r (%d) %r" %
                      (case, args[1:], text[:80], expected[:200], got.stdout[:200], got.returncode, got.stderr))
    # One over the limit per colour count: exit 1 and nothing on standard output.
    for colours in range(1, 7):
        got = subprocess.run([exe] + ["--color", "1,2,3"] * colours, input=b"y" * (max_length(colours) + 1),
                             capture_output=True, check=False)
        if got.returncode != 1 or got.stdout:
            failures += 1
            print("over the limit with %d colours: status %d" % (colours, got.returncode))
    print("%d cases, %d failed" % (count + 6, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
