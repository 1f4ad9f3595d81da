#!/usr/bin/env python3
"""Soak: runs each program for a while under the current X display with random (seeded, bounded)
keys and mouse input, and watches that it stays alive and that its resident memory stays flat
after warm-up.

Usage: tools/soak.py [--seconds 120] [--warmup 20] [--seed 1] [--run-dir build/run] [programs...]
Run it through tools/soak.sh, which provides a virtual display.
"""
import argparse
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
# Keys each program reacts to. End is left out where it ends the program.
KEYS = {
    "gridroute": ["F1", "F2", "F3", "F3", "F3", "F4", "F5", "F6", "F7", "F8", "F10", "F11", "F12",
                  "Left", "Right", "Up", "Down", "Left", "Right", "Up", "Down"],
    "tilewalk": ["Left", "Right", "Up", "Down", "F1"],
    "streamview": ["Left", "Right", "Up", "Down", "Home", "End"],
    "lookaround": ["Left", "Right", "Up", "Down", "F1"],
}


def xdo(*args):
    subprocess.run(["xdotool", *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=10)


def rss_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        return None
    return None


def soak(program, run_dir, seconds, warmup, seed):
    rng = random.Random(f"{seed}-{program}")
    work = tempfile.mkdtemp(prefix=f"soak-{program}-")
    for name in DATA[program]:
        shutil.copy(os.path.join(run_dir, name), work)
    out = open(os.path.join(work, "stdout.txt"), "w")
    proc = subprocess.Popen([os.path.join(run_dir, program)], cwd=work, stdin=subprocess.PIPE,
                            stdout=out, stderr=subprocess.STDOUT)
    if program == "gridroute":
        # The largest maze at a fine grid.
        proc.stdin.write(b"6\n0.25\n")
        proc.stdin.flush()
    title = TITLE.get(program, "^camera class.s $")
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", title],
                           capture_output=True, text=True, timeout=30)
    window = found.stdout.split()[0] if found.stdout.split() else None
    if window is None:
        proc.kill()
        return {"program": program, "ok": False, "why": "no window"}

    xdo("mousemove", "--window", window, "400", "400")
    start = time.time()
    samples = []
    actions = 0
    held = set()
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
        elif choice < 0.8:
            xdo("mousemove", "--window", window, str(rng.randint(0, 799)), str(rng.randint(0, 799)))
        else:
            button = rng.choice(["1", "2", "1", "3"])
            xdo("mousedown", button)
            held.add(button)
            for _ in range(rng.randint(1, 6)):
                xdo("mousemove_relative", "--", str(rng.randint(-40, 40)), str(rng.randint(-40, 40)))
                time.sleep(0.02)
            xdo("mouseup", button)
            held.discard(button)
        actions += 1
        time.sleep(rng.uniform(0.0, 0.05))

    alive = proc.poll() is None
    samples.append((time.time() - start, rss_kib(proc.pid)))
    if alive:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
    out.close()
    after = [kib for t, kib in samples if t >= warmup and kib is not None]
    growth = (after[-1] - after[0]) if len(after) >= 2 else None
    peak = max(kib for _, kib in samples if kib is not None) if samples else None
    result = {"program": program, "ok": alive, "actions": actions,
              "seconds": round(samples[-1][0]), "rss_after_warmup_kib": after[0] if after else None,
              "rss_end_kib": after[-1] if after else None, "growth_kib": growth, "peak_kib": peak,
              "exit": None if alive else proc.returncode, "log": os.path.join(work, "stdout.txt")}
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seconds", type=float, default=120)
    parser.add_argument("--warmup", type=float, default=20)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--run-dir", default="build/run")
    parser.add_argument("programs", nargs="*", default=["gridroute", "tilewalk", "streamview", "lookaround"])
    args = parser.parse_args()
    failed = False
    print(f"{'program':<12}{'alive':>6}{'actions':>9}{'secs':>6}{'rss@warmup':>12}{'rss@end':>10}{'growth':>9}")
    for program in args.programs:
        r = soak(program, os.path.abspath(args.run_dir), args.seconds, args.warmup, args.seed)
        if not r.get("actions"):
            print(f"{program:<12} failed: {r.get('why')}")
            failed = True
            continue
        print(f"{program:<12}{'yes' if r['ok'] else 'NO':>6}{r['actions']:>9}{r['seconds']:>6}"
              f"{r['rss_after_warmup_kib']:>10}KiB{r['rss_end_kib']:>7}KiB{r['growth_kib']:>6}KiB", flush=True)
        if not r["ok"]:
            print(f"  exited with {r['exit']}; console in {r['log']}")
            failed = True
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
