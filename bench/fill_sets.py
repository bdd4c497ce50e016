#!/usr/bin/env python3
"""Fill benchmark on grid sets: generating modes side by side (mode 1 and the
thorough mode 5 by default), and optionally a peer filler, on the same grids
with the same word list, one run at a time.

    bench/fill_sets.py --cli build/release/bin/korvo-cli [--sets random,themed,themed-fillable,open,corner]
                       [--modes 1,5] [--threads N] [--peer] [--limit 30] [--limit21 60]
                       [--limit-kind wall|cpu] [--seeds 50] [--sizes 9,11,13,15,21]
                       [--first K] [--grids NAME,...] [--results runs.jsonl] [--verbose]

Sets:
  random  the random patterns `korvo-cli fill --size N --seed S` makes, sizes
          --sizes, seeds 1..--seeds;
  themed, themed-fillable, open, corner
          the grid files of bench/grids/<set>/ (made by bench/make_fill_sets.py).

Every fill is checked (`--verify`; the peer checks its own). Per set and mode
the table gives: grids run, filled, proved to have no fill ("no-fill": only a
complete search says that; "exhausted", a mode giving up, is not a proof),
exhausted, timed out, anything else (an invalid fill, a refused start), the
median and 90th-percentile seconds (a run stopped at the limit counts as the
limit), the median CPU seconds, and the largest peak resident set of a run.
Then, per set, the grids where mode 5 is behind mode 1 (mode 1 filled and
mode 5 did not, or took more than twice as long plus a second), and any
disagreement between a proof and a fill of the same grid.

The peer is /work/shared/peers/qxw_fill.py (Qxw's batch filler, run as a
separate program). It gets the same words, exported from the word list file,
plus every complete entry the grid places (the program keeps complete user
words whether listed or not). It keeps the no-repeat rule but not the
first-three-letters rule, so its fills are also counted by whether they keep
that rule ("prefix-ok"), and a proof of it holds for the program's rules too.

--limit-kind wall (default) gives korvo-cli `--time-limit` and the peer a
wall-clock limit. On a loaded machine use --limit-kind cpu: korvo-cli then
runs under a CPU-time limit of the limit times its threads (mode 5) and the
peer under `--limit-kind cpu`; the table's seconds stay wall seconds.
A run is killed when it outlives its limit by 20 s; it counts as timed out.
"""

import argparse
import json
import math
import os
import resource
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from word_list import read_word_list  # noqa: E402

PEER = "/work/shared/peers/qxw_fill.py"
FILE_SETS = ("themed", "themed-fillable", "open", "corner")
LETTERS = set("ABCDEFGHIJKLMNOPQRSTUVWXYZ")
GRACE = 20.0  # seconds past the limit before a run is killed


def percentile(values, fraction):
    """The nearest-rank percentile of a non-empty list."""
    ordered = sorted(values)
    rank = max(1, math.ceil(fraction * len(ordered)))
    return ordered[min(rank, len(ordered)) - 1]


class Grid:
    """One grid of a set: a file, or a random pattern made from a size and a seed."""

    def __init__(self, set_name, name, size, path=None, seed=None, rows=None):
        self.set_name = set_name
        self.name = name
        self.size = size
        self.path = path
        self.seed = seed
        self.rows = rows  # the design, where known


def read_rows(path):
    with open(path, encoding="ascii") as f:
        rows = [line.rstrip("\r\n") for line in f]
    while rows and rows[-1] == "":
        rows.pop()
    return rows


def entries(rows):
    """Across and down runs of 2+ non-block squares, each a list of (r, c)."""
    n = len(rows)
    found = []
    for across in (True, False):
        for a in range(n):
            run = []
            for b in range(n + 1):
                r, c = (a, b) if across else (b, a)
                if b < n and rows[r][c] != "!":
                    run.append((r, c))
                    continue
                if len(run) >= 2:
                    found.append(run)
                run = []
    return found


def complete_entries(rows):
    """The words the design places completely."""
    return {"".join(rows[r][c] for r, c in run) for run in entries(rows)
            if all(rows[r][c] in LETTERS for r, c in run)}


def keeps_prefix_rule(design, filled, words):
    """Does a fill keep the first-three-letters rule: no word the search placed
    shares its first three letters with another placed word or with a listed
    word the design placed completely?"""
    placed, typed = [], []
    for run in entries(design):
        word = "".join(filled[r][c] for r, c in run)
        if all(design[r][c] in LETTERS for r, c in run):
            if word in words:
                typed.append(word)
        else:
            placed.append(word)
    seen = set()
    for word in placed:
        if len(word) >= 3:
            if word[:3] in seen:
                return False
            seen.add(word[:3])
    return not any(len(w) >= 3 and w[:3] in seen for w in typed)


def run_process(command, kill_after, cpu_limit=None):
    """Runs a program; returns (exit code or None if killed, stdout, stderr, wall s, cpu s, peak RSS MB)."""
    def limit():
        if cpu_limit:
            seconds = max(1, math.ceil(cpu_limit))
            resource.setrlimit(resource.RLIMIT_CPU, (seconds, seconds + 2))

    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        started = time.monotonic()
        proc = subprocess.Popen(command, stdout=out, stderr=err, start_new_session=True, preexec_fn=limit)
        killed = []

        def stop():
            killed.append(True)
            for sig, pause in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 0)):
                try:
                    os.killpg(proc.pid, sig)
                except ProcessLookupError:
                    return
                time.sleep(pause)

        timer = threading.Timer(kill_after, stop)
        timer.daemon = True
        timer.start()
        _, status, usage = os.wait4(proc.pid, 0)
        timer.cancel()
        wall = time.monotonic() - started
        proc.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        stdout = out.read().decode("utf-8", "replace")
        stderr = err.read().decode("utf-8", "replace")
    code = None if killed else proc.returncode
    return code, stdout, stderr, wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0


class Bench:
    def __init__(self, args):
        self.args = args
        self.work = tempfile.mkdtemp(prefix="fill_sets_")
        self.words = None
        self.words_file = None
        self.results = open(args.results, "w", encoding="utf-8") if args.results else None

    def limit_of(self, grid):
        return self.args.limit21 if grid.size >= 21 else self.args.limit

    # ---- korvo-cli

    def korvo(self, grid, mode, limit):
        a = self.args
        command = [a.cli, "fill", "--mode", str(mode), "--word-list", a.word_list, "--json", "--verify"]
        if grid.path:
            command += ["--grid", grid.path, "--seed", str(a.seed)]
        else:
            command += ["--size", str(grid.size), "--seed", str(grid.seed)]
        threads = 1
        if mode == 5:
            if a.threads:
                command += ["--threads", str(a.threads)]
            threads = a.threads or os.cpu_count() or 1
        cpu_limit = None
        if a.limit_kind == "cpu":
            cpu_limit = limit * threads
            command += ["--time-limit", str(limit * 10)]  # the CPU limit ends the run
        else:
            command += ["--time-limit", str(limit)]
        code, stdout, stderr, wall, cpu, rss = run_process(command, limit * (10 if cpu_limit else 1) + GRACE, cpu_limit)
        record = {"mode": str(mode), "seconds": wall, "cpu": cpu, "rss_mb": rss}
        if code == 2:
            sys.exit(f"korvo-cli refused the run: {' '.join(command)}\n{stderr}")
        report = None
        if stdout.strip():
            try:
                report = json.loads(stdout.strip().splitlines()[-1])
            except ValueError:
                report = None
        if report is None:
            record["outcome"] = "time-limit" if code is None or code < 0 else "error"
            record["seconds"] = max(wall, limit)
            if record["outcome"] == "error":
                record["error"] = stderr.strip()[-300:]
            return record, None
        outcome = report.get("result", "error")
        if outcome == "filled" and not report.get("verified"):
            outcome = "invalid"
            record["error"] = stderr.strip()[-300:]
        record["outcome"] = outcome
        record["seconds"] = max(float(report.get("seconds", wall)), 0.0)
        if outcome == "time-limit":
            record["seconds"] = max(record["seconds"], limit)
        if "verdict" in report:
            record["verdict"] = report["verdict"]
        return record, report.get("grid")

    def design_of(self, grid, printed):
        """The design of a random pattern, read back from a korvo-cli run's grid (blocks stay blocks)."""
        if grid.rows is None and printed:
            grid.rows = ["".join("!" if ch == "!" else "@" for ch in row) for row in printed]
        return grid.rows

    # ---- the peer

    def peer(self, grid, limit):
        a = self.args
        if self.words is None:
            self.words = set(read_word_list(a.word_list))
        if grid.rows is None:
            # No korvo-cli run printed this pattern yet: a short run does.
            _, printed = self.korvo(grid, 1, 0.01)
            self.design_of(grid, printed)
            if grid.rows is None:
                return {"mode": "peer", "outcome": "error", "seconds": 0.0, "cpu": 0.0, "rss_mb": 0.0,
                        "error": "the pattern could not be read back"}
        path = os.path.join(self.work, "grid.txt")
        with open(path, "w", encoding="ascii") as f:
            f.write("\n".join(grid.rows) + "\n")
        if self.words_file is None:
            self.words_file = os.path.join(self.work, "words.txt")
            with open(self.words_file, "w", encoding="ascii") as f:
                f.writelines(w + "\n" for w in sorted(self.words))
        words_path = self.words_file
        extra = complete_entries(grid.rows) - self.words
        if extra:  # this grid's complete entries join the list for this run only
            words_path = os.path.join(self.work, "words-grid.txt")
            with open(words_path, "w", encoding="ascii") as f:
                f.writelines(w + "\n" for w in sorted(self.words | extra))
        command = [sys.executable, a.peer_script, path, words_path, "--time-limit", str(limit),
                   "--limit-kind", a.limit_kind]
        code, stdout, stderr, wall, cpu, rss = run_process(command, limit + GRACE)
        record = {"mode": "peer", "seconds": wall, "cpu": cpu, "rss_mb": rss}
        try:
            report = json.loads(stdout.strip().splitlines()[-1])
        except (ValueError, IndexError):
            record.update(outcome="time-limit" if code is None else "error", seconds=max(wall, limit))
            if code is not None:
                record["error"] = stderr.strip()[-300:]
            return record
        record["seconds"] = float(report.get("seconds", wall))
        if report.get("solved"):
            record["outcome"] = "filled"
            record["prefix_ok"] = keeps_prefix_rule(grid.rows, report["grid"], self.words)
        elif report.get("timed_out"):
            record["outcome"] = "time-limit"
            record["seconds"] = max(record["seconds"], limit)
        elif report.get("exit") == 4:
            record["outcome"] = "no-fill"
        else:
            record["outcome"] = "invalid" if "invalid fill" in report.get("error", "") else "error"
            record["error"] = report.get("error", stderr.strip()[-300:])
        return record

    # ---- sets

    def grids_of(self, set_name):
        a = self.args
        if set_name == "random":
            grids = [Grid("random", f"{size}-s{seed}", size, seed=seed)
                     for size in a.sizes for seed in range(1, a.seeds + 1)]
        else:
            folder = os.path.join(a.grids_folder, set_name)
            names = sorted(n for n in os.listdir(folder) if n.endswith(".txt") and n != "MANIFEST.txt")
            grids = []
            for n in names:
                rows = read_rows(os.path.join(folder, n))
                grids.append(Grid(set_name, n[:-4], len(rows), path=os.path.join(folder, n), rows=rows))
        if a.grids:
            grids = [g for g in grids if g.name in a.grids]
        if a.first:
            if set_name == "random":
                grids = [g for g in grids if g.seed <= a.first]
            else:
                grids = grids[: a.first]
        return grids

    def run_set(self, set_name):
        a = self.args
        runs = {}  # grid name -> {mode: record}
        for grid in self.grids_of(set_name):
            limit = self.limit_of(grid)
            row = {}
            for mode in a.modes:
                record, printed = self.korvo(grid, mode, limit)
                self.design_of(grid, printed)
                row[str(mode)] = record
            if a.peer:
                row["peer"] = self.peer(grid, limit)
            runs[grid.name] = row
            for key, record in row.items():
                record.update(set=set_name, grid=grid.name)
                if self.results:
                    self.results.write(json.dumps(record) + "\n")
                    self.results.flush()
            if a.verbose:
                cells = "  ".join(f"{k}: {r['outcome']} {r['seconds']:.2f}s" for k, r in row.items())
                print(f"  {set_name}/{grid.name}: {cells}", flush=True)
        return runs

    def summarize(self, set_name, runs):
        keys = [str(m) for m in self.args.modes] + (["peer"] if self.args.peer else [])
        for key in keys:
            records = [row[key] for row in runs.values() if key in row]
            if not records:
                continue
            count = {}
            for r in records:
                count[r["outcome"]] = count.get(r["outcome"], 0) + 1
            filled = count.get("filled", 0)
            others = sum(v for k, v in count.items() if k not in ("filled", "no-fill", "exhausted", "time-limit"))
            seconds = [r["seconds"] for r in records]
            cpu = [r["cpu"] for r in records]
            rss = max(r["rss_mb"] for r in records)
            extra = ""
            if key == "peer" and filled:
                extra = f"  prefix-ok {sum(1 for r in records if r.get('prefix_ok'))}/{filled}"
            if others:
                extra += "  other: " + ", ".join(f"{k} {v}" for k, v in sorted(count.items())
                                                  if k not in ("filled", "no-fill", "exhausted", "time-limit"))
            print(f"{set_name:>15} {key:>5} {len(records):>5} {filled:>6} {count.get('no-fill', 0):>6} "
                  f"{count.get('exhausted', 0):>6} {count.get('time-limit', 0):>6} {others:>5} "
                  f"{statistics.median(seconds):>8.2f} {percentile(seconds, 0.9):>7.2f} "
                  f"{statistics.median(cpu):>7.2f} {rss:>7.1f}{extra}", flush=True)

        if "1" in keys and "5" in keys:
            behind = []
            for name, row in runs.items():
                one, five = row.get("1"), row.get("5")
                if not one or not five or one["outcome"] != "filled":
                    continue
                if five["outcome"] != "filled":
                    behind.append(f"{name} (mode 5 {five['outcome']})")
                elif five["seconds"] > 2 * one["seconds"] + 1.0:
                    behind.append(f"{name} ({five['seconds']:.1f} s against {one['seconds']:.1f} s)")
            print(f"{set_name:>15} mode 5 behind mode 1 on {len(behind)} grid(s)" +
                  (": " + ", ".join(behind) if behind else ""), flush=True)

        disagreements = []
        for name, row in runs.items():
            proofs = [k for k, r in row.items() if r["outcome"] == "no-fill"]
            fills = [k for k, r in row.items() if r["outcome"] == "filled" and (k != "peer" or r.get("prefix_ok"))]
            # The peer's proof covers the program's stricter rules; the program's
            # proof is refuted only by a fill that keeps all of its rules.
            for p in proofs:
                for f in fills:
                    disagreements.append(f"{name}: {p} proved no fill, {f} filled it")
        for line in disagreements:
            print(f"{set_name:>15} DISAGREEMENT {line}", flush=True)

    def run(self):
        a = self.args
        kind = "CPU" if a.limit_kind == "cpu" else "wall"
        print(f"korvo-cli {a.cli}, word list {a.word_list}, modes {','.join(map(str, a.modes))}"
              f"{' and the peer' if a.peer else ''}, threads of mode 5: {a.threads or 'every'}, "
              f"{kind} limit {a.limit:g} s ({a.limit21:g} s for 21), load {os.getloadavg()[0]:.1f}")
        print(f"{'set':>15} {'mode':>5} {'grids':>5} {'filled':>6} {'proved':>6} {'exh.':>6} {'timed':>6} "
              f"{'other':>5} {'median':>8} {'p90':>7} {'cpu med':>7} {'RSS MB':>7}")
        started = time.monotonic()
        for set_name in a.sets:
            self.summarize(set_name, self.run_set(set_name))
        print(f"total {time.monotonic() - started:.0f} s, load {os.getloadavg()[0]:.1f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True, help="path of korvo-cli")
    parser.add_argument("--word-list", help="word list file (default: data1.bin beside korvo-cli)")
    parser.add_argument("--sets", default="random,themed,themed-fillable,open,corner")
    parser.add_argument("--modes", default="1,5")
    parser.add_argument("--threads", type=int, help="threads of mode 5 (default: korvo-cli's, every thread)")
    parser.add_argument("--peer", action="store_true", help="run the peer filler too")
    parser.add_argument("--peer-script", default=PEER)
    parser.add_argument("--limit", type=float, default=30.0, help="time limit of grids up to 15 squares, seconds")
    parser.add_argument("--limit21", type=float, default=60.0, help="time limit of 21 x 21 grids, seconds")
    parser.add_argument("--limit-kind", choices=("wall", "cpu"), default="wall")
    parser.add_argument("--seeds", type=int, default=50, help="random patterns per size (seeds 1..N)")
    parser.add_argument("--sizes", default="9,11,13,15,21")
    parser.add_argument("--seed", type=int, default=1, help="seed of the runs on grid files")
    parser.add_argument("--first", type=int, help="only the first K grids of each set (random: seeds 1..K)")
    parser.add_argument("--grids", help="only the grids of these names (t01, 15-s11, ...)")
    parser.add_argument("--grids-folder", default=os.path.join(HERE, "grids"))
    parser.add_argument("--results", help="write one JSON line per run to this file")
    parser.add_argument("--verbose", action="store_true", help="print every grid's outcomes")
    args = parser.parse_args()

    args.sets = [s for s in args.sets.split(",") if s]
    for s in args.sets:
        if s != "random" and s not in FILE_SETS:
            parser.error(f"unknown set '{s}'")
    args.modes = [int(m) for m in args.modes.split(",") if m]
    args.sizes = [int(s) for s in args.sizes.split(",") if s]
    args.grids = set(args.grids.split(",")) if args.grids else None
    if not args.word_list:
        args.word_list = os.path.join(os.path.dirname(os.path.abspath(args.cli)), "data1.bin")
    if not os.path.exists(args.word_list):
        parser.error(f"no word list file {args.word_list}")
    args.cli = os.path.abspath(args.cli)
    args.word_list = os.path.abspath(args.word_list)
    Bench(args).run()


if __name__ == "__main__":
    main()
