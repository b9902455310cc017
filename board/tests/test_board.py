"""The world board driven as a client reaches it: the real brinegrab-board on
127.0.0.1 with a real SQLite file, checking with the real game. What a game
scores comes from its recording (the game's own play, tests/replays/ and
tests/runs/); forged runs are those files edited as a cheat would edit them.

With BRINEGRAB_BOARD_DATABASE=postgresql the same tests run against a real
PostgreSQL server the test starts itself (as the user nobody when run as
root, which PostgreSQL refuses), each board with a database of its own.

Environment: BRINEGRAB_BOARD (the server), BRINEGRAB_GAME_DIR (the game's
directory), BRINEGRAB_SOURCE_DIR (the checkout), BRINEGRAB_BOARD_DATABASE
(sqlite, the default, or postgresql)."""

import http.client
import json
import os
import re
import shutil
import socket
import stat
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse

BOARD = os.environ["BRINEGRAB_BOARD"]
GAME = os.environ["BRINEGRAB_GAME_DIR"]
SOURCE = os.environ["BRINEGRAB_SOURCE_DIR"]
REPLAYS = os.path.join(SOURCE, "tests", "replays")
RUNS = os.path.join(SOURCE, "tests", "runs")
DATABASE = os.environ.get("BRINEGRAB_BOARD_DATABASE", "sqlite")
PG_BIN = "/usr/lib/postgresql/15/bin"
TOKEN = "token-of-anna-0123456789"
OTHER_TOKEN = "token-of-someone-else-42"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def field(replay, name):
    return re.search(rb"\n" + name.encode() + rb" = ([^\n]*)\n", replay).group(1).decode()


def with_field(replay, name, value):
    """The replay with a header line's value replaced, or the line added after the first."""
    key = b"\n" + name.encode() + b" = "
    at = replay.find(key)
    if at < 0:
        first = replay.index(b"\n")
        return replay[:first] + key + value.encode() + replay[first:]
    start = at + len(key)
    return replay[:start] + value.encode() + replay[replay.index(b"\n", start):]


def games_of(run):
    """A run's files, split where each next one begins (the test's own files only)."""
    starts = [m.start() for m in re.finditer(rb"Brinegrab replay\n", run)]
    return [run[a:b] for a, b in zip(starts, starts[1:] + [len(run)])]


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class POSTGRESQL:
    """A PostgreSQL server of the test's own, on a private port of 127.0.0.1."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="brinegrab-postgresql-")
        as_user = []
        if os.getuid() == 0:
            os.chown(self.dir, 65534, 65534)
            as_user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
        data = os.path.join(self.dir, "data")
        subprocess.run(as_user + [PG_BIN + "/initdb", "-D", data, "-U", "board", "--auth=trust",
                                  "-E", "UTF8", "--locale=C"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.port = free_port()
        self.log = open(os.path.join(self.dir, "log"), "w")
        self.server = subprocess.Popen(
            as_user + [PG_BIN + "/postgres", "-D", data, "-h", "127.0.0.1", "-p", str(self.port),
                       "-k", self.dir, "-c", "max_connections=300",
                       # The boards are killed in the tests, never this server: its own
                       # syncs would only slow them.
                       "-c", "fsync=off", "-c", "full_page_writes=off"],
            stdout=self.log, stderr=self.log)
        for _ in range(600):
            if subprocess.run([PG_BIN + "/pg_isready", "-q", "-h", "127.0.0.1", "-p",
                               str(self.port), "-U", "board"]).returncode == 0:
                break
            time.sleep(0.1)
        self.databases = 0

    def new_database(self):
        self.databases += 1
        name = "board%d" % self.databases
        subprocess.run(["psql", "-q", "-h", "127.0.0.1", "-p", str(self.port), "-U", "board",
                        "-d", "postgres", "-c", "CREATE DATABASE " + name], check=True)
        return "postgresql://board@127.0.0.1:%d/%s" % (self.port, name)

    def stop(self):
        self.server.terminate()
        self.server.wait(timeout=60)
        self.log.close()
        shutil.rmtree(self.dir, ignore_errors=True)


POSTGRES = None


def setUpModule():
    global POSTGRES
    if DATABASE == "postgresql":
        POSTGRES = POSTGRESQL()


def tearDownModule():
    if POSTGRES:
        POSTGRES.stop()


class BOARD_PROCESS:
    """A board of its own: a fresh data directory and database, any free port."""

    def __init__(self, *extra, data=None, game=GAME, database=None):
        self.data = data or tempfile.mkdtemp(prefix="brinegrab-board-")
        self.extra = list(extra)
        self.game = game
        self.database = database or (POSTGRES.new_database() if POSTGRES else None)
        self.start()

    def storage(self):
        """The options that name the board's data."""
        return ["--data", self.data] + (["--database", self.database] if self.database else [])

    def start(self):
        self.process = subprocess.Popen(
            [BOARD, "--listen", "127.0.0.1:0", "--game", self.game, "--rate", "0"] +
            self.storage() + self.extra,
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.process.stdout.readline()
        self.port = int(re.search(r":(\d+)/", line).group(1))

    def request(self, method, path, body=None, headers=None):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=120)
        try:
            connection.request(method, path, body, headers or {})
            response = connection.getresponse()
            return response.status, dict(response.getheaders()), response.read()
        finally:
            connection.close()

    def post(self, body, name="Anna", token=TOKEN):
        headers = {"Authorization": "Bearer " + token} if token is not None else {}
        query = "?name=" + urllib.parse.quote(name) if name is not None else ""
        status, headers, data = self.request("POST", "/api/v1/runs" + query, body, headers)
        return status, headers, json.loads(data)

    def get_json(self, path):
        status, _, data = self.request("GET", path)
        return status, json.loads(data)

    def kill(self):
        self.process.kill()
        self.process.wait()
        self.process.stdout.close()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=30)
        self.process.stdout.close()
        shutil.rmtree(self.data, ignore_errors=True)


def fake_game(script):
    """A game directory whose brinegrab misbehaves as the script says."""
    folder = tempfile.mkdtemp(prefix="brinegrab-fake-game-")
    path = os.path.join(folder, "brinegrab")
    with open(path, "w") as f:
        f.write("#!/bin/sh\n" + script + "\n")
    os.chmod(path, stat.S_IRWXU)
    return folder


class REFUSED(unittest.TestCase):
    """Every forged or broken submission is refused with its reason, and nothing is kept."""

    def test_each_is_refused_with_its_reason_and_nothing_is_stored(self):
        real = read(os.path.join(REPLAYS, "solo-escape-chest.replay"))
        score = field(real, "score")
        drains = int(field(real, "drains"))
        carried = field(real, "carried")
        carried = ("1" if carried[0] == "0" else "0") + carried[1:]
        keys = field(real, "keys").split(" ")
        keys[0], keys[1] = keys[1], keys[0]
        cases = [
            ("score edited", with_field(real, "score", str(int(score) + 1000)), {}, 422,
             "the game scores " + score),
            ("a frame cut", with_field(real, "drains", str(drains - 1)), {}, 422, "game 1:"),
            ("a key changed", with_field(real, "keys", " ".join(keys)), {}, 422, "the game"),
            ("carried changed", with_field(real, "carried", carried), {}, 422, "carries over"),
            ("seed changed", with_field(real, "seed", str(int(field(real, "seed")) + 1)), {},
             422, "game 1:"),
            ("another version", with_field(real, "version", "1.1.0"), {}, 422,
             "made by Brinegrab 1.1.0; this board plays"),
            ("another random stream", with_field(real, "random", "musl"), {}, 422, "musl"),
            ("slowed down", with_field(real, "speed", "80"), {}, 422, "game 1:"),
            ("a later game without the games before it",
             read(os.path.join(REPLAYS, "solo-ruby.replay")), {}, 422, "start-up"),
            ("junk", b"<html>Hello, board</html>\n", {}, 400, "not Brinegrab replay files"),
            ("junk after a sound game", real + b"junk", {}, 422, "game 2:"),
            ("empty body", b"", {}, 400, "empty"),
            ("no token", real, {"token": None}, 400, "Bearer"),
            ("a short token", real, {"token": "short"}, 400, "Bearer"),
            ("no name", real, {"name": None}, 400, "name"),
            ("a name of spaces", real, {"name": "   "}, 400, "empty"),
            ("a name too long", real, {"name": "A" * 17}, 400, "16"),
            ("a name with markup", real, {"name": "<b>Anna</b>"}, 400, "U+003C"),
            ("a name with a control character", real, {"name": "An\x07na"}, 400, "U+0007"),
            ("a name with a bidirectional override", real, {"name": "\u202eAnna"}, 400,
             "U+202E"),
            ("a name with a zero-width space", real, {"name": "An\u200bna"}, 400, "U+200B"),
            ("a name that is not UTF-8", real, {"name": "An\udcffna"}, 400, "UTF-8"),
        ]
        board = BOARD_PROCESS()
        self.addCleanup(board.stop)
        for label, body, options, status, reason in cases:
            with self.subTest(label):
                name = options.get("name", "Anna")
                token = options.get("token", TOKEN)
                if name is not None and "\udcff" in name:
                    query = "?name=An%FFna"
                    got, _, data = board.request("POST", "/api/v1/runs" + query, body,
                                                 {"Authorization": "Bearer " + TOKEN})
                    answer = json.loads(data)
                else:
                    got, _, answer = board.post(body, name=name, token=token)
                self.assertEqual(got, status, answer)
                self.assertIn(reason, answer["error"])
        with self.subTest("16 MB body"):
            connection = http.client.HTTPConnection("127.0.0.1", board.port, timeout=60)
            connection.putrequest("POST", "/api/v1/runs?name=Anna")
            connection.putheader("Authorization", "Bearer " + TOKEN)
            connection.putheader("Content-Length", str(16 << 20))
            connection.endheaders()
            try:
                connection.send(b"x" * (64 << 10))
            except OSError:
                pass
            response = connection.getresponse()
            self.assertEqual(response.status, 413)
            connection.close()
        for mode in ("solo", "multi"):
            self.assertEqual(board.get_json("/api/v1/board?mode=" + mode)[1]["entries"], [])
        self.assertEqual(board.get_json("/api/v1/games/1")[0], 404)
        # The name was never claimed: another token may take it.
        first = read(os.path.join(REPLAYS, "solo-hits.replay"))
        self.assertEqual(board.post(first, token=OTHER_TOKEN)[0], 201)

    def test_a_check_that_hangs_or_crashes_is_ended_and_refused(self):
        real = read(os.path.join(REPLAYS, "solo-escape-chest.replay"))
        for label, script, reason in [
            ("hangs", "sleep 60", "took longer than 2 s"),
            ("crashes", "kill -SEGV $$", "signal 11"),
            ("says nonsense", "echo '{\"ok\":true}'; exit 0", "nothing the board understands"),
        ]:
            with self.subTest(label):
                game = fake_game(script)
                self.addCleanup(shutil.rmtree, game)
                board = BOARD_PROCESS("--check-seconds", "2", game=game)
                self.addCleanup(board.stop)
                status, _, answer = board.post(real)
                self.assertEqual(status, 422)
                self.assertIn(reason, answer["error"])
                self.assertEqual(board.get_json("/api/v1/board")[1]["entries"], [])

    def test_runs_beyond_the_queue_are_told_to_come_back(self):
        game = fake_game("sleep 2; exit 1")
        self.addCleanup(shutil.rmtree, game)
        board = BOARD_PROCESS("--checks", "1", "--queue", "1", game=game)
        self.addCleanup(board.stop)
        answers = []
        posts = [threading.Thread(target=lambda: answers.append(board.post(b"Brinegrab replay\n")))
                 for _ in range(4)]
        for p in posts:
            p.start()
        for p in posts:
            p.join()
        busy = [a for a in answers if a[0] == 503]
        self.assertGreaterEqual(len(busy), 1, answers)
        for status, headers, _ in busy:
            self.assertGreater(int(headers["Retry-After"]), 0)
        self.assertEqual(sorted({a[0] for a in answers}), [422, 503])


class KEPT(unittest.TestCase):
    """A run that plays is kept, ranked, shown and served, once."""

    def test_a_run_is_kept_ranked_shown_and_served(self):
        board = BOARD_PROCESS()
        self.addCleanup(board.stop)
        run = read(os.path.join(RUNS, "solo-ruby.run"))
        games = games_of(run)
        scores = [int(field(g, "score")) for g in games]

        status, _, answer = board.post(run, name="  Anna  ")
        self.assertEqual(status, 201, answer)
        self.assertEqual([g["score"] for g in answer["games"]], scores)
        self.assertEqual([g["mode"] for g in answer["games"]], ["solo", "solo"])
        best_first = sorted(scores, reverse=True)
        self.assertEqual([g["rank"] for g in answer["games"]],
                         [best_first.index(s) + 1 for s in scores])
        self.assertEqual({g["of"] for g in answer["games"]}, {2})
        ids = [g["id"] for g in answer["games"]]

        # The same games again, whole or in part, are one entry each.
        self.assertEqual(board.post(run)[0], 409)
        self.assertEqual(board.post(games[0])[0], 409)
        # Edited where the game does not look, it is still the same game.
        self.assertEqual(board.post(with_field(games[0], "comment", "again"))[0], 409)
        # The name is Anna's token's, in any case.
        other = read(os.path.join(REPLAYS, "solo-hits.replay"))
        for name in ("Anna", "ANNA", "anna"):
            status, _, answer = board.post(other, name=name, token=OTHER_TOKEN)
            self.assertEqual(status, 403, name)
            self.assertIn("another player's", answer["error"])
        self.assertEqual(board.post(other, name="O'Neil", token=OTHER_TOKEN)[0], 201)
        hits = int(field(other, "score"))

        status, headers, body = board.request("GET", "/api/v1/board?mode=solo&limit=10")
        self.assertEqual(status, 200)
        entries = json.loads(body)["entries"]
        want = sorted([(s, "Anna") for s in scores] + [(hits, "O'Neil")], reverse=True)
        self.assertEqual([(e["score"], e["name"]) for e in entries], want)
        self.assertEqual([e["rank"] for e in entries], [1, 2, 3])
        self.assertIn("max-age", headers["Cache-Control"])
        self.assertEqual(headers["Access-Control-Allow-Origin"], "*")
        status, _, _ = board.request("GET", "/api/v1/board?mode=solo&limit=10",
                                     headers={"If-None-Match": headers["ETag"]})
        self.assertEqual(status, 304)
        self.assertEqual(
            [e["score"] for e in board.get_json("/api/v1/board?mode=solo&limit=1&offset=1")[1]
             ["entries"]], [want[1][0]])
        today = time.strftime("%Y-%m-%d", time.gmtime())
        self.assertEqual(len(board.get_json("/api/v1/board?mode=solo&day=" + today)[1]["entries"]), 3)
        self.assertEqual(board.get_json("/api/v1/board?mode=solo&day=2000-01-01")[1]["entries"], [])
        self.assertEqual(board.get_json("/api/v1/board?mode=multi")[1]["entries"], [])
        for bad in ("mode=both", "limit=0", "limit=101", "offset=-1", "day=2026-13-01", "day=x"):
            self.assertEqual(board.request("GET", "/api/v1/board?" + bad)[0], 400, bad)

        status, game = board.get_json("/api/v1/games/%d" % ids[0])
        self.assertEqual((status, game["name"], game["score"], game["mode"]),
                         (200, "Anna", scores[0], "solo"))
        status, headers, replay = board.request("GET", "/api/v1/games/%d/replay" % ids[1])
        self.assertEqual((status, replay), (200, games[1]))
        self.assertEqual(headers["Content-Type"], "application/octet-stream")

        status, _, page = board.request("GET", "/")
        self.assertEqual(status, 200)
        self.assertIn(b"O&#39;Neil", page)
        self.assertNotIn(b"O'Neil", page)
        status, headers, _ = board.request("OPTIONS", "/api/v1/runs")
        self.assertEqual(status, 204)
        self.assertIn("Authorization", headers["Access-Control-Allow-Headers"])

        # The operator hides a game, from the machine.
        subprocess.run([BOARD] + board.storage() + ["--hide", str(ids[0])], check=True,
                       stdout=subprocess.DEVNULL)
        self.assertEqual(board.get_json("/api/v1/games/%d" % ids[0])[0], 404)
        self.assertEqual(board.request("GET", "/api/v1/games/%d/replay" % ids[0])[0], 404)
        # The board's reads are kept a second: the hidden game leaves them within it.
        for _ in range(30):
            shown = [e["id"] for e in board.get_json("/api/v1/board")[1]["entries"]]
            if ids[0] not in shown:
                break
            time.sleep(0.1)
        self.assertNotIn(ids[0], shown)

        # Started again on its data, the board has it all.
        board.kill()
        board.start()
        self.assertEqual(len(board.get_json("/api/v1/board")[1]["entries"]), 2)
        self.assertEqual(board.get_json("/healthz"), (200, {"ok": True}))

    def test_every_run_answered_201_before_a_kill_is_there_after(self):
        board = BOARD_PROCESS()
        self.addCleanup(board.stop)
        names = ["solo-hits", "solo-escape-chest", "solo-ghost", "multi-trap-run",
                 "multi-treasure-boxes", "multi-cannonball-rows", "multi-sword-fight",
                 "solo-five-minutes"]
        answers = {}

        def send(name):
            try:
                answers[name] = board.post(read(os.path.join(REPLAYS, name + ".replay")),
                                           name=name[:16])
            except (OSError, http.client.HTTPException):
                answers[name] = None

        senders = [threading.Thread(target=send, args=(n,)) for n in names]
        for s in senders:
            s.start()
        while (not any(a and a[0] == 201 for a in list(answers.values()))
               and len(answers) < len(names)):
            time.sleep(0.05)
        board.kill()
        for s in senders:
            s.join()
        board.start()
        kept = {g["id"] for a in answers.values() if a and a[0] == 201 for g in a[2]["games"]}
        self.assertTrue(kept)
        for game in kept:
            self.assertEqual(board.get_json("/api/v1/games/%d" % game)[0], 200)
        on_board = {e["id"] for mode in ("solo", "multi")
                    for e in board.get_json("/api/v1/board?mode=" + mode + "&limit=100")[1]
                    ["entries"]}
        self.assertTrue(kept <= on_board)


@unittest.skipUnless(DATABASE == "postgresql", "one database for two boards: PostgreSQL")
class TWO_BOARDS(unittest.TestCase):
    def test_a_run_sent_to_one_board_is_on_the_other(self):
        one = BOARD_PROCESS()
        self.addCleanup(one.stop)
        other = BOARD_PROCESS(database=one.database)
        self.addCleanup(other.stop)
        run = read(os.path.join(RUNS, "multi-second-game.run"))
        status, _, answer = one.post(run)
        self.assertEqual(status, 201, answer)
        ids = [g["id"] for g in answer["games"]]
        entries = other.get_json("/api/v1/board?mode=multi")[1]["entries"]
        self.assertEqual(sorted(e["id"] for e in entries), sorted(ids))
        self.assertEqual(other.post(run)[0], 409)
        self.assertEqual(other.post(read(os.path.join(REPLAYS, "solo-hits.replay")),
                                    token=OTHER_TOKEN)[0], 403)


class SLOW_CLIENT(unittest.TestCase):
    def test_a_client_sending_a_byte_a_second_does_not_stop_the_others(self):
        board = BOARD_PROCESS()
        self.addCleanup(board.stop)
        slow = socket.create_connection(("127.0.0.1", board.port))
        self.addCleanup(slow.close)
        stop = threading.Event()

        def dribble():
            for byte in b"GET /api/v1/board HTTP/1.1\r\n":
                if stop.wait(1):
                    return
                slow.send(bytes([byte]))

        dripping = threading.Thread(target=dribble)
        dripping.start()
        self.addCleanup(dripping.join)
        self.addCleanup(stop.set)
        for _ in range(5):
            time.sleep(0.5)
            self.assertEqual(board.get_json("/healthz")[0], 200)
            self.assertEqual(board.get_json("/api/v1/board")[0], 200)


if __name__ == "__main__":
    unittest.main()
