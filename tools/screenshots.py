#!/usr/bin/env python3
"""Makes the README's pictures: runs each program on the current X display, drives it, and saves
a PNG of its window into docs/.

Usage: tools/screenshots.py [--run-dir build/run] [--out docs]
Run it through tools/screenshots.sh, which builds the programs and provides a virtual display.
"""
import argparse
import os
import shutil
import subprocess
import tempfile
import time


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30).stdout


class Program:
    def __init__(self, run_dir, name, files, title, stdin=None):
        self.work = tempfile.mkdtemp(prefix=f"shot-{name}-")
        for f in files:
            shutil.copy(os.path.join(run_dir, f), self.work)
        self.log = open(os.path.join(self.work, "stdout.txt"), "w+")
        self.proc = subprocess.Popen([os.path.join(run_dir, name)], cwd=self.work,
                                     stdin=subprocess.PIPE, stdout=self.log, stderr=subprocess.STDOUT)
        if stdin:
            self.proc.stdin.write(stdin.encode())
            self.proc.stdin.flush()
        self.window = xdo("search", "--sync", "--onlyvisible", "--name", title).split()[0]
        xdo("mousemove", "--window", self.window, "400", "400")

    def hold(self, key, seconds):
        xdo("mousemove", "--window", self.window, "400", "400")
        xdo("keydown", key)
        time.sleep(seconds)
        xdo("keyup", key)

    def wait_for(self, text, seconds):
        end = time.time() + seconds
        while time.time() < end:
            self.log.seek(0)
            if text in self.log.read():
                return True
            time.sleep(0.1)
        return False

    def shoot(self, path):
        subprocess.run(["import", "-window", self.window, path], check=True, timeout=30)
        print("wrote", path)

    def end(self):
        self.proc.terminate()
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--run-dir", default="build/run")
    parser.add_argument("--out", default="docs")
    args = parser.parse_args()
    run_dir = os.path.abspath(args.run_dir)
    os.makedirs(args.out, exist_ok=True)

    # gridroute: maze 4 at level of detail 0.5. The cursor walks down and right into the maze as
    # far as the walls let it, F1 starts an A* search from there back to the goal on tile 0, and
    # the finished search is shot from above (F10).
    p = Program(run_dir, "gridroute", ["maze4.obj", "file.tga"], "^VoveZuradoz $", "4\n0.5\n")
    time.sleep(1.0)
    for key in ["Down", "Right", "Down", "Right"]:
        p.hold(key, 1.5)
    p.hold("F8", 0.1)
    p.hold("F1", 0.2)
    p.wait_for("cycles_taken:", 60)
    p.hold("F10", 0.3)
    time.sleep(0.5)
    p.shoot(os.path.join(args.out, "gridroute.png"))
    p.end()

    # tilewalk: the search from tile 44 to tile 11111 finished, seen from the start pose high above.
    p = Program(run_dir, "tilewalk", ["maze1.obj", "file.tga"], "^camera class.s $")
    p.wait_for("cycles_taken:", 120)
    time.sleep(0.5)
    p.shoot(os.path.join(args.out, "tilewalk.png"))
    p.end()

    # streamview: a few seconds of particles over the eddies, the view tilted down 0.35 radian
    # by one mouse movement (the pointer is warped back to the centre after it).
    p = Program(run_dir, "streamview", ["32_sample4.tga"], "^camera class.s $")
    time.sleep(0.5)
    xdo("mousemove", "--window", p.window, "400", "750")
    time.sleep(6.0)
    p.shoot(os.path.join(args.out, "streamview.png"))
    p.end()

    # lookaround: the first view of the triangle.
    p = Program(run_dir, "lookaround", [], "^camera class.s $")
    time.sleep(1.0)
    p.shoot(os.path.join(args.out, "lookaround.png"))
    p.end()


if __name__ == "__main__":
    main()
