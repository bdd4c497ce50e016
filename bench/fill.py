#!/usr/bin/env python3
"""Fill benchmark: runs `korvo-cli fill` over fixed seeds for every grid size
and generating mode and prints one table row per (size, mode): how many
random patterns filled, the median and 90th-percentile wall seconds of the
runs, and the median number of 2-second steps.

Runs that do not fill count with their time (a run stopped at the time limit
counts as at least the limit), so the percentiles are those of all attempts.

    bench/fill.py --cli build/release/bin/korvo-cli [--seeds 8] [--sizes 9,11,13,15,21]
                  [--modes 1,2,3,4] [--word-list 1] [--limit 30] [--limit21 60] [--verify]
"""

import argparse
import json
import statistics
import subprocess
import sys
import time


def percentile(values, fraction):
    """The nearest-rank percentile of a non-empty list."""
    ordered = sorted(values)
    rank = max(1, int(-(-fraction * len(ordered) // 1)))  # ceil
    return ordered[min(rank, len(ordered)) - 1]


def run_one(cli, size, mode, seed, word_list, limit, verify):
    command = [cli, "fill", "--size", str(size), "--mode", str(mode), "--seed", str(seed),
               "--word-list", word_list, "--time-limit", str(limit), "--json"]
    if verify:
        command.append("--verify")
    started = time.monotonic()
    done = subprocess.run(command, capture_output=True, text=True)
    wall = time.monotonic() - started
    if done.returncode == 2 or not done.stdout.strip():
        sys.exit(f"korvo-cli failed: {' '.join(command)}\n{done.stderr}")
    report = json.loads(done.stdout)
    if verify and report["result"] == "filled" and not report.get("verified"):
        sys.exit(f"verification failed: {' '.join(command)}\n{done.stderr}")
    return report["result"], max(report["seconds"], 0.0), report["steps"], wall


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True, help="path of korvo-cli")
    parser.add_argument("--seeds", type=int, default=8, help="random patterns per size and mode (seeds 1..N)")
    parser.add_argument("--first-seed", type=int, default=1)
    parser.add_argument("--sizes", default="9,11,13,15,21")
    parser.add_argument("--modes", default="1,2,3,4")
    parser.add_argument("--word-list", default="1")
    parser.add_argument("--limit", type=float, default=30.0, help="time limit of sizes up to 15, seconds")
    parser.add_argument("--limit21", type=float, default=60.0, help="time limit of size 21, seconds")
    parser.add_argument("--verify", action="store_true", help="check every fill independently")
    args = parser.parse_args()

    sizes = [int(s) for s in args.sizes.split(",")]
    modes = [int(m) for m in args.modes.split(",")]
    seeds = range(args.first_seed, args.first_seed + args.seeds)
    print(f"korvo-cli fill, word list {args.word_list}, seeds {seeds.start}..{seeds.stop - 1}, "
          f"time limit {args.limit:g} s ({args.limit21:g} s for 21)")
    print(f"{'size':>4} {'mode':>4} {'filled':>9} {'median s':>9} {'p90 s':>8} {'steps':>6}  outcomes")
    total_started = time.monotonic()
    for size in sizes:
        limit = args.limit21 if size >= 21 else args.limit
        for mode in modes:
            results = [run_one(args.cli, size, mode, seed, args.word_list, limit, args.verify) for seed in seeds]
            filled = sum(1 for r in results if r[0] == "filled")
            seconds = [r[1] for r in results]
            steps = [r[2] for r in results]
            outcomes = {}
            for r in results:
                outcomes[r[0]] = outcomes.get(r[0], 0) + 1
            others = ", ".join(f"{k} {v}" for k, v in sorted(outcomes.items()) if k != "filled")
            print(f"{size:>4} {mode:>4} {filled:>4}/{len(results):<4} {statistics.median(seconds):>9.2f} "
                  f"{percentile(seconds, 0.9):>8.2f} {statistics.median(steps):>6g}  {others}", flush=True)
    print(f"total {time.monotonic() - total_started:.0f} s")


if __name__ == "__main__":
    main()
