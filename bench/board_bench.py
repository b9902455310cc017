"""The world board's figures (a benchmark, not a test: they depend on the
machine and its load, which is printed with them).

Reads: wrk at 64 connections over a board of 100,000 entries (written
straight into the board's SQLite file: checking that many games would take
hours), on the board's reads at random offsets and on its page, beside the
bare baseline of its cheapest answer (/healthz). Submissions: 1,000 runs
from 100 concurrent clients, the game's recorded games and forged copies of
them: every one must be answered (201, 409, 422, or 429/503 with
Retry-After) and the board must hold exactly the games answered 201.

Run by scripts/board-bench."""

import collections
import json
import os
import random
import re
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.environ["BRINEGRAB_SOURCE_DIR"], "board", "tests"))
import test_board as t  # noqa: E402  the tests' own board process and replay files

ENTRIES = 100000
WRK_SECONDS = int(os.environ.get("BOARD_BENCH_SECONDS", "10"))


def load():
    return "load %s" % " ".join(open("/proc/loadavg").read().split()[:3])


def fill(board_dir):
    """100,000 games of 5,000 players, over the last 30 days."""
    db = sqlite3.connect(os.path.join(board_dir, "board.sqlite"))
    rng = random.Random(31)
    now = time.time()
    names = [("player %d" % i, "player %d" % i, "%064x" % i, "2026-01-01T00:00:00Z")
             for i in range(5000)]
    db.executemany("INSERT INTO names (key, name, token_hash, since) VALUES (?, ?, ?, ?)", names)
    runs = [(i + 1, "player %d" % (i % 5000), "2026-01-01T00:00:00Z") for i in range(ENTRIES)]
    db.executemany("INSERT INTO runs (id, name_key, at) VALUES (?, ?, ?)", runs)
    games = []
    for i in range(ENTRIES):
        at = time.gmtime(now - rng.random() * 30 * 86400)
        games.append((i + 1, "solo" if i % 3 else "multi", rng.randrange(1000, 400000),
                      rng.randrange(100, 8000), i, "%016x" % i, time.strftime("%Y-%m-%d", at),
                      time.strftime("%Y-%m-%dT%H:%M:%SZ", at), b"Brinegrab replay\n"))
    db.executemany("INSERT INTO games (run, mode, score, frames, state, digest, day, at, replay)"
                   " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)", games)
    db.commit()
    db.close()


def wrk(port, path, script=None):
    args = ["wrk", "-t2", "-c64", "-d%ds" % WRK_SECONDS, "--latency"]
    if script:
        args += ["-s", script]
    out = subprocess.run(args + ["http://127.0.0.1:%d%s" % (port, path)], capture_output=True,
                         text=True, check=True).stdout
    rate = float(re.search(r"Requests/sec:\s+([\d.]+)", out).group(1))
    p99 = re.search(r"99%\s+([\d.]+)(us|ms|s)", out)
    p99_ms = float(p99.group(1)) * {"us": 0.001, "ms": 1, "s": 1000}[p99.group(2)]
    errors = re.search(r"Non-2xx or 3xx responses: (\d+)", out)
    return rate, p99_ms, int(errors.group(1)) if errors else 0


def reads():
    board = t.BOARD_PROCESS()
    board.stop_keep = board.data
    board.process.terminate()
    board.process.wait()
    board.process.stdout.close()
    fill(board.data)
    board.start()
    script = tempfile.NamedTemporaryFile("w", suffix=".lua", delete=False)
    script.write('math.randomseed(31)\nrequest = function()\n'
                 '  local mode = math.random(3) == 1 and "multi" or "solo"\n'
                 '  return wrk.format(nil, "/api/v1/board?mode=" .. mode .. "&limit=10&offset=" '
                 '.. math.random(0, 30000))\nend\n')
    script.close()
    print("reads, 64 connections, %d s each, %d entries (%s):" % (WRK_SECONDS, ENTRIES, load()))
    for label, path, lua in [("bare baseline (/healthz)", "/healthz", None),
                             ("board, top 10", "/api/v1/board?mode=solo&limit=10", None),
                             ("board, random offsets", "/", script.name),
                             ("the page", "/", None)]:
        rate, p99, errors = wrk(board.port, path, lua)
        print("  %-28s %8.0f requests/s  p99 %6.1f ms  errors %d" % (label, rate, p99, errors))
    print("  (%s after)" % load())
    os.unlink(script.name)
    board.stop()


def submissions():
    games = [t.read(os.path.join(t.REPLAYS, n + ".replay"))
             for n in ("solo-hits", "solo-escape-chest", "solo-ghost", "multi-trap-run",
                       "multi-treasure-boxes", "multi-cannonball-rows", "multi-sword-fight")]
    runs = []
    for i in range(1000):
        game = games[i % len(games)]
        # One in four forged: the score raised.
        if i % 4 == 3:
            game = t.with_field(game, "score", str(int(t.field(game, "score")) + i))
        runs.append(game)
    board = t.BOARD_PROCESS("--rate", "0")
    answers = collections.Counter()
    kept = set()
    problems = []
    lock = threading.Lock()
    todo = list(enumerate(runs))

    def client(number):
        token = "bench-client-token-%04d" % number
        while True:
            with lock:
                if not todo:
                    return
                i, run = todo.pop()
            try:
                status, headers, answer = board.post(run, name="client %d" % number, token=token)
            except Exception as e:  # a lost answer is what this measures
                with lock:
                    problems.append("run %d: %r" % (i, e))
                continue
            with lock:
                answers[status] += 1
                if status == 201:
                    kept.update(g["id"] for g in answer["games"])
                if status in (429, 503) and int(headers.get("Retry-After", "0")) <= 0:
                    problems.append("run %d: %d without Retry-After" % (i, status))
                if status not in (201, 409, 422, 429, 503):
                    problems.append("run %d: %d %s" % (i, status, answer))

    print("submissions: 1000 runs from 100 clients (%s):" % load())
    began = time.time()
    clients = [threading.Thread(target=client, args=(n,)) for n in range(100)]
    for c in clients:
        c.start()
    for c in clients:
        c.join()
    seconds = time.time() - began
    on_board = {e["id"] for mode in ("solo", "multi")
                for e in board.get_json("/api/v1/board?mode=%s&limit=100" % mode)[1]["entries"]}
    print("  answered %d of 1000 in %.1f s: %s" %
          (sum(answers.values()), seconds, ", ".join("%d x %d" % (n, s)
                                                      for s, n in sorted(answers.items()))))
    print("  kept %d games (of %d sound ones sent); on the board: %d; same: %s" %
          (len(kept), len(games), len(on_board), kept == on_board))
    for p in problems[:10]:
        print("  problem: " + p)
    board.stop()
    return not problems and kept == on_board and sum(answers.values()) == 1000


if __name__ == "__main__":
    reads()
    sys.exit(0 if submissions() else 1)
