#!/usr/bin/env python3
"""verdax-tool's headless commands on the large benchmark mission, each a whole
process, beside `cat` of the files they read, in processor time (user and system,
from the kernel's accounting of the finished child): elapsed time on a machine
shared with other work says as much about the others as about us.

usage: headless_commands.py TOOL PREFIX [--mission NAME] [--rounds N]
  TOOL    the verdax-tool program
  PREFIX  the benchmark game (bench/mission's --prefix folder)

Each round runs, in turn: cat of the mission's models, world model and scene file;
resave; dump; render at 1280 x 800 (the new view's camera). It prints the least,
median and most of each and of the per-round ratios resave / cat and render / dump,
and render - dump: what drawing the frame adds to a load.
"""

import argparse
import os
import statistics
import sys
import tempfile
from pathlib import Path


def processor_ms(argv, env, stdout_path=os.devnull):
    """Runs argv to its end and returns its user and system time in milliseconds."""
    out = os.open(stdout_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    try:
        pid = os.posix_spawn(argv[0], argv, env, file_actions=[(os.POSIX_SPAWN_DUP2, out, 1)])
    finally:
        os.close(out)
    _, status, usage = os.wait4(pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"headless_commands: {' '.join(argv)} failed")
    return 1000.0 * (usage.ru_utime + usage.ru_stime)


def spread(values):
    return f"{statistics.median(values):.4g} ({min(values):.4g} to {max(values):.4g})"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tool")
    parser.add_argument("prefix")
    parser.add_argument("--mission", default="metropolis")
    parser.add_argument("--rounds", type=int, default=7)
    options = parser.parse_args()

    tool = str(Path(options.tool).resolve())
    game = Path(options.prefix).resolve() / "drive_c" / "Games" / "Dravo"
    mission = game / "Missions" / options.mission
    inputs = sorted(str(p) for p in (game / "Models").iterdir() if p.suffix.lower() == ".4ds")
    inputs += [str(mission / "scene.4ds"), str(mission / "scene2.bin")]
    env = dict(os.environ, WINEPREFIX=str(Path(options.prefix).resolve()))

    figures = {name: [] for name in ("cat", "resave", "dump", "render")}
    with tempfile.TemporaryDirectory() as scratch:
        picture = os.path.join(scratch, "frame.png")
        commands = {
            "cat": ["/bin/cat", *inputs],
            "resave": [tool, "resave", options.mission],
            "dump": [tool, "dump", options.mission],
            "render": [tool, "render", options.mission, "--size", "1280,800", "--out", picture],
        }
        for _ in range(options.rounds):
            for name, argv in commands.items():
                figures[name].append(processor_ms(argv, env))

    print(f"whole processes, processor time in ms, median (least to most) of {options.rounds} rounds:")
    for name, values in figures.items():
        print(f"  {name}: {spread(values)}")
    rounds = range(options.rounds)
    print(f"  resave / cat: {spread([figures['resave'][i] / figures['cat'][i] for i in rounds])}")
    print(f"  render / dump: {spread([figures['render'][i] / figures['dump'][i] for i in rounds])}")
    print(f"  render - dump: {spread([figures['render'][i] - figures['dump'][i] for i in rounds])} ms")


if __name__ == "__main__":
    main()
