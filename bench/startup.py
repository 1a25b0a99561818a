"""Start-up time and peak memory of the real program on a throw-away desktop.

    python3 bench/startup.py build/app/ombrix [runs]

Start-up is measured from just before exec until the main window is visible (polled
every few milliseconds); peak memory is the VmHWM of the running tool after a message
was typed and the colour dialog was opened and closed."""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import desktop  # noqa: E402
import settings_file  # noqa: E402


def visible(d, name):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name], env=d.env,
                          capture_output=True, timeout=5).returncode == 0


def peak_rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def main():
    exe = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    times, peaks = [], []
    with settings_file.preserved(), desktop.desktop() as d:
        for _ in range(runs):
            start = time.monotonic()
            proc = d.start([exe], stderr=subprocess.DEVNULL)
            while not visible(d, "HTML Ombrix"):
                if time.monotonic() - start > 10:
                    raise SystemExit("the main window did not appear")
            times.append((time.monotonic() - start) * 1000)
            win = d.wait_window("HTML Ombrix")
            d.type("Hello there, how are you?")
            d.key("alt+c", window=win)
            d.wait_window("Set Color")
            d.key("Return")
            time.sleep(0.3)
            peaks.append(peak_rss_kib(proc.pid))
            d.close(win)
            proc.wait(timeout=10)
    print("start-up over %d runs: median %.0f ms, min %.0f ms, max %.0f ms" %
          (runs, statistics.median(times), min(times), max(times)))
    print("peak RSS: median %.1f MB, max %.1f MB" % (statistics.median(peaks) / 1024, max(peaks) / 1024))


if __name__ == "__main__":
    main()
