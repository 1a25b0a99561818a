"""The generator against its copy baseline, as ratios that hold still on a noisy machine.

    python3 bench/fade_ratios.py build/bench/ombrix-bench [rounds]

Runs the benchmark binary `rounds` times (10 unless given), three repetitions a
round, and prints for each case the median time of the generator and of the plain
copy of a buffer as large as its output, both in ns per character, and the ratio of
the medians. Machines shared with others (steal time) move single runs by a fifth
or more; the medians of many short runs move far less."""
import collections
import csv
import io
import statistics
import subprocess
import sys


def run(binary, rounds):
    times = collections.defaultdict(list)  # (kind, case) -> ns per character
    for _ in range(rounds):
        out = subprocess.run([binary, "--benchmark_repetitions=3", "--benchmark_min_time=0.05",
                              "--benchmark_format=csv"], capture_output=True, text=True, check=True).stdout
        for row in csv.DictReader(io.StringIO(out[out.index("name,"):])):
            name = row["name"]
            if name.endswith(("_mean", "_median", "_stddev", "_cv")):
                continue
            kind, case, length = name.split("/")
            times[(kind, case)].append(float(row["cpu_time"]) / int(length))
    return times


def main():
    binary = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    times = run(binary, rounds)
    print(f"{'case':24} {'FadeText ns/char':>17} {'copy ns/char':>13} {'ratio':>6}")
    for (kind, case) in sorted(times):
        if kind != "BM_Fade":
            continue
        fade = statistics.median(times[(kind, case)])
        copy = statistics.median(times[("BM_CopyBaseline", case)])
        print(f"{case:24} {fade:17.3f} {copy:13.3f} {fade / copy:6.1f}")


if __name__ == "__main__":
    main()
