#!/usr/bin/env python3
"""What the one-minute memory trim hands back, and what it costs after.

    bench/memory_trim.py [--program build/rurive-musicbox] [--after 60]

Starts the program in a private Xvfb against the local station, samples its
process and the web engine's helper processes twice a second, and prints:
the resident set (RSS, anonymous and file-backed) and the proportional set
size (PSS) of each process just before and just after the first trim, and,
over the following minute, the UI process's page faults and CPU time next
to the minute before the trim. Figures only; nothing is asserted.
"""

import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TICK = os.sysconf("SC_CLK_TCK")


def status(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "RssAnon", "RssFile"):
                fields[key] = int(value.split()[0])
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            if line.startswith("Pss:"):
                fields["Pss"] = int(line.split()[1])
    return fields


def stat(pid):
    """Minor and major faults, and CPU seconds, of one process."""
    with open(f"/proc/{pid}/stat") as f:
        parts = f.read().rsplit(")", 1)[1].split()
    return {"minflt": int(parts[7]), "majflt": int(parts[9]), "cpu": (int(parts[11]) + int(parts[12])) / TICK}


def comm(pid):
    with open(f"/proc/{pid}/comm") as f:
        return f.read().strip()


def children(pid):
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    if int(f.read().rsplit(")", 1)[1].split()[1]) == pid:
                        found.append(int(entry))
            except OSError:
                pass
    return found


def snapshot(pid):
    procs = {pid: "ui"}
    for child in children(pid):
        procs[child] = comm(child)
    snap = {}
    for p, name in procs.items():
        try:
            snap[name] = {**status(p), **stat(p)}
        except OSError:
            pass
    return snap


def start(cmd, **kw):
    return subprocess.Popen(cmd, stdin=subprocess.DEVNULL, **kw)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=str(ROOT / "build" / "rurive-musicbox"))
    parser.add_argument("--after", type=float, default=60, help="seconds to watch after the trim")
    args = parser.parse_args()
    # A terminated run still stops its programs and removes its temporary files.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))

    with tempfile.TemporaryDirectory(prefix="rurive-bench-") as home:
        station = start([sys.executable, str(ROOT / "tools" / "station_fixture.py")], stdout=subprocess.PIPE, text=True)
        port = station.stdout.readline().split()[1]
        rfd, wfd = os.pipe()
        xvfb = start(["Xvfb", "-displayfd", str(wfd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                     pass_fds=[wfd], stderr=subprocess.DEVNULL)
        os.close(wfd)
        display = os.read(rfd, 16).decode().strip()
        env = dict(os.environ, DISPLAY=f":{display}", HOME=home, TMPDIR=home, NO_AT_BRIDGE="1",
                   http_proxy=f"http://127.0.0.1:{port}/")
        program = start([args.program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        t0 = time.monotonic()
        try:
            samples = []
            trim_at = None
            while True:
                now = time.monotonic() - t0
                samples.append((now, snapshot(program.pid)))
                if trim_at is None and len(samples) > 1:
                    before, after = samples[-2][1]["ui"]["VmRSS"], samples[-1][1]["ui"]["VmRSS"]
                    if after < before * 0.8:
                        trim_at = len(samples) - 1
                if trim_at is not None and now - samples[trim_at][0] >= args.after:
                    break
                if now > 90 + args.after:
                    print("no trim seen: the resident set never fell by a fifth")
                    return 1
                time.sleep(0.5)
        finally:
            program.send_signal(signal.SIGTERM)
            program.wait(15)
            for p in (station, xvfb):
                p.terminate()
                p.wait(5)

    t_before, before = samples[trim_at - 1]
    t_after, after = samples[trim_at]
    t_end, end = samples[-1]
    minute_ago = min(samples, key=lambda s: abs(s[0] - (t_before - args.after)))
    print(f"first trim between {t_before:.1f} s and {t_after:.1f} s after start")
    print(f"{'process':<22}{'RSS before':>12}{'RSS after':>12}{'anon':>14}{'file':>16}{'PSS before':>12}{'PSS after':>12}")
    for name in before:
        b, a = before[name], after.get(name, {})
        if not a:
            continue
        print(f"{name:<22}{b['VmRSS'] / 1024:>10.1f} M{a['VmRSS'] / 1024:>10.1f} M"
              f"{b['RssAnon'] / 1024:>6.1f}>{a['RssAnon'] / 1024:>5.1f} M"
              f"{b['RssFile'] / 1024:>7.1f}>{a['RssFile'] / 1024:>6.1f} M"
              f"{b['Pss'] / 1024:>10.1f} M{a['Pss'] / 1024:>10.1f} M")
    ui0, ui1, uie = minute_ago[1]["ui"], before["ui"], end["ui"]
    span_before, span_after = t_before - minute_ago[0], t_end - t_after
    print(f"UI process, {span_before:.0f} s before the trim: {ui1['minflt'] - ui0['minflt']} minor and "
          f"{ui1['majflt'] - ui0['majflt']} major faults, {ui1['cpu'] - ui0['cpu']:.2f} CPU s")
    print(f"UI process, {span_after:.0f} s after the trim:  {uie['minflt'] - ui1['minflt']} minor and "
          f"{uie['majflt'] - ui1['majflt']} major faults, {uie['cpu'] - ui1['cpu']:.2f} CPU s "
          f"(the trim itself included)")
    print(f"UI resident set {span_after:.0f} s after the trim: {uie['VmRSS'] / 1024:.1f} M "
          f"(file-backed {uie['RssFile'] / 1024:.1f} M back in)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
