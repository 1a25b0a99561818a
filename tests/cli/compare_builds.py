"""Runs two builds of ombrix-fade's command (say, one from each compiler) on the same
random texts and colour tables (HTML, and a share in each other format), and on every
length of text the six default colours take, and fails if any case's output, error or
exit status differs in a single byte. The cases are random_compare.py's; fade_batch runs
them all in one process per build."""
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from random_compare import random_case  # noqa: E402


def block(data):
    return b"%d\n" % len(data) + data


def encode(cases):
    out = bytearray()
    for args, text in cases:
        out += b"%d\n" % len(args)
        for arg in args:
            out += block(arg.encode("utf-8"))
        out += block(text)
    return bytes(out)


def decode(data, count):
    results, pos = [], 0

    def number():
        nonlocal pos
        end = data.index(b"\n", pos)
        value = int(data[pos:end])
        pos = end + 1
        return value

    def take():
        nonlocal pos
        size = number()
        pos += size
        return data[pos - size:pos]

    for _ in range(count):
        results.append((number(), take(), take()))
    if pos != len(data):
        raise ValueError("trailing output")
    return results


def run(batch, cases):
    got = subprocess.run([batch], input=encode(cases), capture_output=True, check=False)
    if got.returncode != 0:
        sys.exit("%s exits with %d: %s" % (batch, got.returncode, got.stderr.decode(errors="replace")))
    return decode(got.stdout, len(cases))


def main():
    first, second, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    rng = random.Random(20261209)
    # Random cases, then every length up to the six default colours' longest text.
    cases = [random_case(rng) for _ in range(count)]
    # A quarter of them once more in each of the other formats, in turn.
    formats = ["css", "bbcode", "minimessage", "irc", "ansi"]
    cases += [(args + ["--format", formats[i % len(formats)]], text)
              for i, (args, text) in enumerate(cases[:count // 4])]
    cases += [([], b"a" * n) for n in range(1, 6554)]
    a, b = run(first, cases), run(second, cases)
    differ = [i for i in range(len(cases)) if a[i] != b[i]]
    for i in differ[:5]:
        args, text = cases[i]
        print("case %d differs: args=%r text=%r\n  first:  %r\n  second: %r" %
              (i, args, text[:80], a[i][:2], b[i][:2]))
    print("%d cases, %d differ" % (len(cases), len(differ)))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
