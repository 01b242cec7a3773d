#!/usr/bin/env python3
"""Start-up, memory and idle cost of the music box, beside the web engine's
floor and beside Chromium in app mode, on the local station in Xvfb.

    bench/compare.py BUILD_DIR [--runs 10] [--idle 60]

Runs (a) rurive-musicbox, (b) bench/webview_floor.c and (c) Chromium with
--app, in alternation (abc, bca, cab, ...), and prints per program the median and spread of:
start-up (exec to the page's first paint, which the page reports to the
station), PSS after load summed over the whole process tree (and per kind
of process), and CPU seconds of the tree over the idle period; then the
ratios a/b and a/c, and for (a) the UI process's resident set just before
and after its first trim. The figures also go to BUILD_DIR/bench-compare.csv.
A warm-up round comes first and is not counted, and each program starts only
once the machine is quiet again after the one before. Figures only; nothing
is asserted.
"""

import argparse
import csv
import json
import os
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
STATION = "http://app.rurive.com/dodor/fm/"
TICK = os.sysconf("SC_CLK_TCK")
QUIET_IDLE = 0.95   # share of CPU time idle that counts as a quiet machine
QUIET_WAIT_S = 30   # give up waiting for quiet after this long


def tree(pid):
    """pid and all its descendants."""
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    parents[int(entry)] = int(f.read().rsplit(")", 1)[1].split()[1])
            except (OSError, IndexError):
                pass
    found, frontier = [pid], [pid]
    while frontier:
        nxt = [p for p, pp in parents.items() if pp in frontier]
        found += nxt
        frontier = nxt
    return found


def read(path):
    try:
        with open(path) as f:
            return f.read()
    except OSError:
        return ""


def field_kb(path, key):
    """A "Key:  N kB" field of a /proc file, 0 once the process is gone."""
    for line in read(path).splitlines():
        if line.startswith(key + ":"):
            return int(line.split()[1])
    return 0


def pss_kb(pid):
    return field_kb(f"/proc/{pid}/smaps_rollup", "Pss")


def cpu_s(pid):
    stat = read(f"/proc/{pid}/stat")
    if not stat:
        return 0.0
    parts = stat.rsplit(")", 1)[1].split()
    return (int(parts[11]) + int(parts[12])) / TICK


def rss_kb(pid):
    return field_kb(f"/proc/{pid}/status", "VmRSS")


def kind(pid):
    name = read(f"/proc/{pid}/comm").strip()
    if name.startswith("chrom"):
        # Chromium's children rewrite their command line into one string.
        match = re.search(r"--type=([\w-]+)", read(f"/proc/{pid}/cmdline").replace("\0", " "))
        return "chromium-" + (match.group(1) if match else "browser")
    return name


class Station:
    def __init__(self):
        self.dir = tempfile.TemporaryDirectory(prefix="rurive-bench-station-")
        self.log = Path(self.dir.name) / "requests.jsonl"
        self.proc = subprocess.Popen([sys.executable, str(ROOT / "tools" / "station_fixture.py"), "--log",
                                      str(self.log)], stdout=subprocess.PIPE, text=True)
        self.port = int(self.proc.stdout.readline().split()[1])

    def first_since(self, t, matches):
        """Time of the first request at or after t whose address matches."""
        if not self.log.exists():
            return None
        for line in self.log.read_text().splitlines():
            r = json.loads(line)
            if matches(r["url"]) and r["time"] >= t:
                return r["time"]
        return None

    def painted_since(self, t):
        return self.first_since(t, lambda url: "/dodor/fm/painted" in url)

    def requested_since(self, t):
        return self.first_since(t, lambda url: url == STATION)

    def close(self):
        self.proc.terminate()
        self.proc.wait(5)
        self.dir.cleanup()


def commands(build, station, profile):
    proxy = f"http://127.0.0.1:{station.port}/"
    return {
        "a": [str(Path(build) / "rurive-musicbox")],
        "b": [str(Path(build) / "bench" / "webview-floor"), STATION],
        "d": [str(Path(build) / "bench" / "webview-floor"), STATION, "--crop"],
        "e": [str(Path(build) / "bench" / "webview-floor"), STATION, "--defaults"],
        "c": ["chromium", f"--app={STATION}", f"--proxy-server={proxy.rstrip('/')}", f"--user-data-dir={profile}",
              "--window-size=519,515", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-quic",
              "--disable-background-networking", "--disable-component-update", "--disable-sync",
              "--autoplay-policy=no-user-gesture-required", "--password-store=basic"],
    }, proxy


def measure(which, argv, env, station, idle):
    start = time.time()
    proc = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    result = {"program": which}
    try:
        painted = None
        while painted is None and time.time() - start < 60:
            time.sleep(0.05)
            painted = station.painted_since(start)
        if painted is None:
            result["error"] = "no first paint"
            return result
        result["startup_s"] = painted - start
        # Where the start-up goes: up to the page's request it is the program
        # and the engine starting; after it, the page loading and painting.
        requested = station.requested_since(start)
        if requested is not None:
            result["request_s"] = requested - start
        time.sleep(5)  # settle after load
        pids = tree(proc.pid)
        per_kind = {}
        for p in pids:
            per_kind[kind(p)] = per_kind.get(kind(p), 0) + pss_kb(p)
        result["pss_mib"] = sum(per_kind.values()) / 1024
        result["pss_by_kind"] = {k: round(v / 1024, 1) for k, v in per_kind.items()}
        cpu0 = sum(cpu_s(p) for p in tree(proc.pid))
        t0 = time.time()
        rss = []
        while time.time() - t0 < idle:
            rss.append((time.time() - start, rss_kb(proc.pid)))
            time.sleep(0.5)
        result["idle_cpu_s"] = sum(cpu_s(p) for p in tree(proc.pid)) - cpu0
        if which == "a":
            for (t1, r1), (t2, r2) in zip(rss, rss[1:]):
                if r2 < r1 * 0.8:
                    result["trim"] = (t1, r1 / 1024, r2 / 1024)
                    break
        return result
    finally:
        helpers = tree(proc.pid)
        os.killpg(proc.pid, signal.SIGTERM)
        try:
            proc.wait(15)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
        # The next program starts on a quiet machine: every process of this
        # one gone, and the CPU idle again after them.
        deadline = time.time() + 10
        while time.time() < deadline and any(os.path.exists(f"/proc/{p}") and
                                             " Z " not in read(f"/proc/{p}/stat") for p in helpers):
            time.sleep(0.1)
        wait_for_quiet()


def cpu_times():
    fields = [int(x) for x in read("/proc/stat").splitlines()[0].split()[1:]]
    return sum(fields), fields[3] + fields[4]  # total, idle + iowait


def wait_for_quiet():
    """Waits until the machine has been at least QUIET_IDLE idle for a whole
    second, so that what one program left running (Chromium's helpers winding
    down, the page cache being written back) is not charged to the next."""
    deadline = time.time() + QUIET_WAIT_S
    total0, idle0 = cpu_times()
    while time.time() < deadline:
        time.sleep(1)
        total1, idle1 = cpu_times()
        if total1 > total0 and (idle1 - idle0) / (total1 - total0) >= QUIET_IDLE:
            return
        total0, idle0 = total1, idle1


def spread(values):
    return f"{statistics.median(values):8.2f} ({min(values):.2f}-{max(values):.2f})"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--idle", type=float, default=60)
    parser.add_argument("--programs", default="abc",
                        help="which to run: a music box, b floor, c Chromium, d floor laid out like the music box, "
                             "e floor with the engine's default settings")
    parser.add_argument("--warmup", type=int, default=1,
                        help="rounds run first and not counted, so that no program pays for cold caches")
    args = parser.parse_args()
    # A terminated run still stops its programs and removes its temporary files.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))

    rfd, wfd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(wfd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=[wfd], stderr=subprocess.DEVNULL)
    os.close(wfd)
    display = os.read(rfd, 16).decode().strip()
    station = Station()
    results = []
    try:
        for run in range(-args.warmup, args.runs):
            # Each round starts one program further on (abc, bca, cab ...), so
            # that no program always follows the same one.
            shift = run % len(args.programs)
            counted = run >= 0
            label = f"run {run + 1}" if counted else f"warm-up {run + args.warmup + 1}"
            for which in args.programs[shift:] + args.programs[:shift]:
                with tempfile.TemporaryDirectory(prefix="rurive-bench-home-") as home:
                    argv, proxy = commands(args.build, station, Path(home) / "profile")
                    env = dict(os.environ, DISPLAY=f":{display}", HOME=home, TMPDIR=home, NO_AT_BRIDGE="1",
                               http_proxy=proxy)
                    r = measure(which, argv[which], env, station, args.idle if counted else 0)
                    r["run"] = run + 1
                    if counted:
                        results.append(r)
                    print(f"{label} {which}: " + ", ".join(
                        f"{k} {v:.2f}" for k, v in r.items() if isinstance(v, float)), flush=True)
    finally:
        station.close()
        xvfb.terminate()
        xvfb.wait(5)

    names = {"a": "rurive-musicbox", "b": "engine floor", "c": "chromium --app", "d": "floor, cropped view",
             "e": "floor, engine defaults"}
    shown = [w for w in "abcde" if w in args.programs]
    metrics = [("startup_s", "start-up, s"), ("request_s", "  of which to page request"),
               ("pss_mib", "PSS after load, MiB"), ("idle_cpu_s", f"CPU s per {args.idle:.0f} s idle")]
    medians = {}
    print(f"\n{'':<26}" + "".join(f"{names[w]:>26}" for w in shown) + f"{'a/b':>8}{'a/c':>8}")
    for key, label in metrics:
        row = f"{label:<26}"
        for w in shown:
            values = [r[key] for r in results if r["program"] == w and key in r]
            medians[(w, key)] = statistics.median(values) if values else float("nan")
            row += f"{spread(values) if values else 'n/a':>26}"
        def ratio(x, y):
            a, b = medians.get((x, key), float("nan")), medians.get((y, key), float("nan"))
            return a / b if b else float("nan")

        print(row + f"{ratio('a', 'b'):8.2f}{ratio('a', 'c'):8.2f}")
    for w in shown:
        kinds = {}
        for r in results:
            if r["program"] == w and "pss_by_kind" in r:
                for k, v in r["pss_by_kind"].items():
                    kinds.setdefault(k, []).append(v)
        print(f"PSS by process, {names[w]}: " + ", ".join(f"{k} {statistics.median(v):.1f}" for k, v in kinds.items()))
    trims = [r["trim"] for r in results if "trim" in r]
    if trims:
        print(f"rurive-musicbox first trim at {statistics.median(t[0] for t in trims):.1f} s: UI resident set "
              f"{statistics.median(t[1] for t in trims):.1f} -> {statistics.median(t[2] for t in trims):.1f} MiB")
    failures = [r for r in results if "error" in r]
    if failures:
        print(f"{len(failures)} runs failed: " + ", ".join(f"{r['program']}#{r['run']} {r['error']}" for r in failures))

    out = Path(args.build) / "bench-compare.csv"
    with out.open("w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["run", "program", "startup_s", "request_s", "pss_mib", "idle_cpu_s", "pss_by_kind"])
        for r in results:
            w.writerow([r["run"], names[r["program"]], r.get("startup_s", ""), r.get("request_s", ""), r.get("pss_mib", ""),
                        r.get("idle_cpu_s", ""), json.dumps(r.get("pss_by_kind", {}))])
    print(f"figures written to {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
