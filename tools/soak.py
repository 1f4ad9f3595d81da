#!/usr/bin/env python3
"""Soak: runs each program for a while under the current X display with random (seeded, bounded)
keys and mouse input, and checks that it stays alive, still draws frames at the end, ends
cleanly when told, and that its resident memory stays flat after warm-up.

Usage: tools/soak.py [--seconds 120] [--warmup 20] [--seed 1] [--run-dir build/run] [programs...]
Run it through tools/soak.sh, which provides a virtual display.

At the end of a run: gridroute must answer F12 with "got key" (a display pass ran) and then
end on SIGTERM; tilewalk and lookaround must end with status 0 when End is held (the camera
reads End in the display pass); streamview must end on SIGTERM. Growth is the resident size at
the end minus the resident size at the end of the warm-up; "late" is the growth over the second
half of the time after warm-up (a leak keeps growing there). The samples, one every 2 seconds,
are kept in rss.csv next to the program's console log.
"""
import argparse
import collections
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

DATA = {
    "gridroute": ["maze2.obj", "maze3.obj", "maze4.obj", "maze5.obj", "maze6.obj", "file.tga"],
    "tilewalk": ["maze1.obj", "file.tga"],
    "streamview": ["32_sample4.tga"],
    "lookaround": [],
}
TITLE = {"gridroute": "^VoveZuradoz $"}
# Keys each program reacts to, repeated to weight them. End is left out where it ends the program.
# gridroute: F1 restarts the search at the cursor, F2 sets the goal, F3/F4 change the speed,
# F5-F8 switch the method, F10/F11 set the view, F12 prints, the arrows move the cursor.
KEYS = {
    "gridroute": ["F1", "F1", "F2", "F2", "F3", "F3", "F3", "F4", "F5", "F6", "F7", "F8", "F10", "F11",
                  "F12", "Left", "Right", "Up", "Down", "Left", "Right", "Up", "Down"],
    "tilewalk": ["Left", "Right", "Up", "Down", "F1"],
    "streamview": ["Left", "Right", "Up", "Down", "Home", "End"],
    "lookaround": ["Left", "Right", "Up", "Down", "F1"],
}


def xdo(*args):
    try:
        subprocess.run(["xdotool", *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=10)
    except subprocess.TimeoutExpired:
        pass


def rss_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        return None
    return None


def count_lines(path, text):
    try:
        with open(path, errors="replace") as f:
            return sum(1 for line in f if text in line)
    except OSError:
        return 0


def find_window(title):
    try:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", title],
                               capture_output=True, text=True, timeout=60)
    except subprocess.TimeoutExpired:
        return None
    ids = found.stdout.split()
    return ids[0] if ids else None


def soak(program, run_dir, seconds, warmup, seed):
    rng = random.Random(f"{seed}-{program}")
    work = tempfile.mkdtemp(prefix=f"soak-{program}-")
    for name in DATA[program]:
        shutil.copy(os.path.join(run_dir, name), work)
    log = os.path.join(work, "stdout.txt")
    out = open(log, "w")
    err = open(os.path.join(work, "stderr.txt"), "w")
    proc = subprocess.Popen([os.path.join(run_dir, program)], cwd=work, stdin=subprocess.PIPE,
                            stdout=out, stderr=err)
    if program == "gridroute":
        # The largest maze at the finest grid.
        proc.stdin.write(b"6\n0.25\n")
        proc.stdin.flush()
    window = find_window(TITLE.get(program, "^camera class.s $"))
    if window is None:
        proc.kill()
        proc.wait()
        return {"program": program, "ok": False, "why": "no window", "log": log}

    xdo("mousemove", "--window", window, "400", "400")
    start = time.time()
    samples = []
    presses = collections.Counter()
    actions = 0
    next_sample = start
    while time.time() - start < seconds:
        if proc.poll() is not None:
            break
        now = time.time()
        if now >= next_sample:
            samples.append((now - start, rss_kib(proc.pid)))
            next_sample = now + 2.0
        choice = rng.random()
        if choice < 0.55:
            key = rng.choice(KEYS[program])
            xdo("mousemove", "--window", window, str(rng.randint(300, 500)), str(rng.randint(300, 500)))
            xdo("keydown", key)
            time.sleep(rng.uniform(0.02, 0.4))
            xdo("keyup", key)
            presses[key] += 1
        elif choice < 0.8:
            xdo("mousemove", "--window", window, str(rng.randint(0, 799)), str(rng.randint(0, 799)))
        else:
            button = rng.choice(["1", "2", "1", "3"])
            xdo("mousemove", "--window", window, str(rng.randint(200, 600)), str(rng.randint(200, 600)))
            xdo("mousedown", button)
            for _ in range(rng.randint(1, 6)):
                xdo("mousemove_relative", "--", str(rng.randint(-40, 40)), str(rng.randint(-40, 40)))
                time.sleep(0.02)
            xdo("mouseup", button)
            presses[f"button{button}"] += 1
        actions += 1
        time.sleep(rng.uniform(0.0, 0.05))

    alive = proc.poll() is None
    samples.append((time.time() - start, rss_kib(proc.pid)))
    drawing = None
    end = None
    if alive:
        xdo("mousemove", "--window", window, "400", "400")
        if program == "gridroute":
            before = count_lines(log, "got key")
            xdo("keydown", "F12")
            time.sleep(0.2)
            xdo("keyup", "F12")
            deadline = time.time() + 20
            while time.time() < deadline and count_lines(log, "got key") <= before:
                time.sleep(0.1)
            drawing = count_lines(log, "got key") > before
        if program in ("tilewalk", "lookaround"):
            xdo("keydown", "End")
            try:
                proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                pass
            xdo("keyup", "End")
            drawing = proc.returncode == 0
        if proc.poll() is None:
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        end = proc.returncode
    out.close()
    err.close()
    with open(os.path.join(work, "stderr.txt"), errors="replace") as f:
        errors = f.read()
    reports = [r for r in ("AddressSanitizer", "LeakSanitizer", "runtime error") if r in errors]
    caught = count_lines(log, "caught something") > 0
    clean_end = end in (0, -signal.SIGTERM)
    with open(os.path.join(work, "rss.csv"), "w") as f:
        f.write("seconds,rss_kib\n")
        for t, kib in samples:
            f.write(f"{t:.1f},{kib}\n")
    after = [(t, kib) for t, kib in samples if t >= warmup and kib is not None]
    growth = (after[-1][1] - after[0][1]) if len(after) >= 2 else None
    # Growth over the second half of the time after warm-up: a leak keeps growing there, a
    # cache or pool that fills once does not.
    late = [(t, kib) for t, kib in after if t >= (warmup + after[-1][0]) / 2] if after else []
    late_growth = (late[-1][1] - late[0][1]) if len(late) >= 2 else None
    peak = max((kib for _, kib in samples if kib is not None), default=None)
    ok = alive and clean_end and drawing is not False and not reports and not caught
    return {"program": program, "ok": ok, "alive": alive, "drawing": drawing, "end": end,
            "actions": actions, "presses": dict(presses), "seconds": round(samples[-1][0]),
            "rss_after_warmup_kib": after[0][1] if after else None,
            "rss_end_kib": after[-1][1] if after else None, "growth_kib": growth, "peak_kib": peak,
            "late_growth_kib": late_growth,
            "searches": count_lines(log, "cycles_taken: ") if program == "gridroute" else None,
            "reports": reports, "caught": caught, "log": log}


def describe(r):
    if r.get("why"):
        return f"{r['program']:<12} FAILED: {r['why']}; console in {r['log']}"
    line = (f"{r['program']:<12}{'yes' if r['alive'] else 'NO':>6}{r['actions']:>9}{r['seconds']:>6}"
            f"{r['rss_after_warmup_kib']:>12}{r['rss_end_kib']:>10}{r['growth_kib']:>9}{r['late_growth_kib']:>8}"
            f"{r['peak_kib']:>9}"
            f"  {'ok' if r['ok'] else 'FAILED'}")
    keys = ", ".join(f"{k} {n}" for k, n in sorted(r["presses"].items()))
    line += f"\n    input: {keys}\n    memory samples: {os.path.join(os.path.dirname(r['log']), 'rss.csv')}"
    if r["searches"] is not None:
        line += f"\n    searches that reached their goal: {r['searches']}"
    if not r["ok"]:
        line += (f"\n    still drawing at the end: {r['drawing']}, end status: {r['end']}, "
                 f"sanitizer reports: {r['reports'] or 'none'}, caught something: {r['caught']}; "
                 f"console in {r['log']}")
    return line


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seconds", type=float, default=120)
    parser.add_argument("--warmup", type=float, default=20)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--run-dir", default="build/run")
    parser.add_argument("programs", nargs="*", default=["gridroute", "tilewalk", "streamview", "lookaround"])
    args = parser.parse_args()
    failed = False
    print(f"{'program':<12}{'alive':>6}{'actions':>9}{'secs':>6}{'KiB@warmup':>12}{'KiB@end':>10}"
          f"{'growth':>9}{'late':>8}{'peak':>9}", flush=True)
    for program in args.programs:
        r = soak(program, os.path.abspath(args.run_dir), args.seconds, args.warmup, args.seed)
        print(describe(r), flush=True)
        failed = failed or not r["ok"]
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
