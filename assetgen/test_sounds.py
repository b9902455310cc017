"""Tests for the sound generator and its checker.

    /usr/bin/python3 -m unittest discover -s assetgen -p 'test_*.py'

The generated tree must pass check_sounds and be reproducible byte for byte;
check_sounds itself must reject each kind of broken file the game could be
handed (so it is exercised on deliberately damaged copies); the loop builder
must fold overhanging notes back to the start; and each effect must have the
character its name promises (rising jump, low cannon, ...).
"""
import os
import shutil
import struct
import sys
import tempfile
import unittest
import wave

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from files import built_tree, copy_files, digest  # noqa: E402
import music  # noqa: E402
import sounds  # noqa: E402
from synth import SR, read_wav, write_wav  # noqa: E402




def _samples(path):
    x, _ = read_wav(path)
    return x[:, 0]


class GeneratedTree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.a = built_tree("sounds", sounds.generate)

    def test_passes_checks_and_covers_every_file(self):
        rows = sounds.check_sounds(self.a)
        names = sorted(r[0] for r in rows)
        expected = sorted([e[0] for e in sounds.EFFECTS] + sounds.MUSIC)
        self.assertEqual(names, expected)
        self.assertEqual(len(names), 12)

    def test_byte_identical_between_runs(self):
        # Made again in this process, byte for byte what the build made in
        # its own: every effect, and the shortest loop (the loops share the
        # seeded jitter, reverb and mastering).
        tmp = tempfile.mkdtemp(prefix="brinegrab-snd-")
        self.addCleanup(shutil.rmtree, tmp, True)
        again = [(rel, lambda m=make, p=peak: sounds.normalize(m(), p))
                 for rel, make, peak in sounds.EFFECTS]
        again.append(("sfx/open.wav", music.LOOPS["sfx/open.wav"]))
        for rel, make in again:
            path = os.path.join(tmp, os.path.basename(rel))
            write_wav(path, make())
            self.assertEqual(digest(path), digest(os.path.join(self.a, rel)),
                             "%s differs between runs" % rel)

    def test_music_sits_under_every_effect(self):
        rows = {r[0]: r for r in sounds.check_sounds(self.a)}
        loudest_music = max(rows[m][3] for m in sounds.MUSIC)
        quietest_fx = min(rows[e[0]][3] for e in sounds.EFFECTS)
        self.assertLess(loudest_music, quietest_fx - 3.0)

    def test_loops_are_whole_bars(self):
        # shanty: 6/8 bars of 6 x 4410; battle: 4/4 of 8 x 4410; lament: 3 x 18375
        for rel, bar in (("sfx/open.wav", 6 * 4410), ("sfx/game.wav", 8 * 4410),
                         ("sfx/end.wav", 3 * 18375)):
            n = len(_samples(os.path.join(self.a, rel)))
            self.assertEqual(n % bar, 0, rel)

    # --- character of each effect -----------------------------------

    def _dominant_hz(self, x):
        spectrum = np.abs(np.fft.rfft(x * np.hanning(len(x))))
        return np.fft.rfftfreq(len(x), 1.0 / SR)[np.argmax(spectrum)]

    def _low_share(self, x, cutoff):
        spectrum = np.abs(np.fft.rfft(x)) ** 2
        f = np.fft.rfftfreq(len(x), 1.0 / SR)
        return spectrum[f < cutoff].sum() / spectrum.sum()

    def test_pitch_rises_in_jump_and_coin(self):
        for name in ("jump", "coin"):
            x = _samples(os.path.join(self.a, "sfx/%s.wav" % name))
            n = len(x)
            early = self._dominant_hz(x[: n // 4])
            late = self._dominant_hz(x[n // 2: 3 * n // 4])
            self.assertGreater(late, early * 1.2, name)

    def test_cannon_and_dig_are_low_chimes_are_high(self):
        fx = lambda n: _samples(os.path.join(self.a, "sfx/%s.wav" % n))
        self.assertGreater(self._low_share(fx("cannon"), 400), 0.5)
        self.assertGreater(self._low_share(fx("dig"), 1000), 0.5)
        self.assertLess(self._low_share(fx("ruby"), 1000), 0.05)
        self.assertLess(self._low_share(fx("coin"), 900), 0.05)

    def test_effects_decay_rather_than_stop_dead(self):
        for rel, _, _ in sounds.EFFECTS:
            x = _samples(os.path.join(self.a, rel))
            tenth = max(1, len(x) // 10)
            head = np.sqrt(np.mean(x[: len(x) // 2] ** 2))
            tail = np.sqrt(np.mean(x[-tenth:] ** 2))
            self.assertLess(tail, head, rel)


class CheckerRejectsBrokenFiles(unittest.TestCase):
    """Damage one file of a good tree at a time; the checker must say no."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="brinegrab-snd-")
        cls.good = built_tree("sounds", sounds.generate)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def setUp(self):
        self.work = os.path.join(self.tmp, "work")
        copy_files(self.good, self.work, [e[0] for e in sounds.EFFECTS] + sounds.MUSIC)

    def path(self, rel):
        return os.path.join(self.work, rel)

    def rewrite(self, rel, fn):
        x = _samples(self.path(rel))
        write_wav(self.path(rel), fn(x))

    def assertRejected(self, pattern):
        with self.assertRaisesRegex((AssertionError, ValueError), pattern):
            sounds.check_sounds(self.work)

    def test_missing_file(self):
        os.remove(self.path("sfx/ghost.wav"))
        self.assertRejected("missing.*ghost")

    def test_not_a_wav(self):
        with open(self.path("sfx/coin.wav"), "wb") as f:
            f.write(b"OggS" + b"\0" * 100)
        self.assertRejected("not a RIFF/WAVE")

    def test_wrong_rate_and_depth(self):
        x = _samples(self.path("sfx/jump.wav"))
        pcm = np.round(x * 32767).astype("<i2").tobytes()
        with wave.open(self.path("sfx/jump.wav"), "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(44100)
            w.writeframes(pcm)
        self.assertRejected("sample rate 44100")
        with wave.open(self.path("sfx/jump.wav"), "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(1)
            w.setframerate(SR)
            w.writeframes((np.round(x * 100) + 128).astype(np.uint8).tobytes())
        self.assertRejected("8-bit")

    def test_float_wav_is_not_pcm(self):
        x = _samples(self.path("sfx/dig.wav")).astype("<f4")
        data = x.tobytes()
        fmt = struct.pack("<HHIIHH", 3, 1, SR, SR * 4, 4, 32)
        blob = (b"RIFF" + struct.pack("<I", 4 + 24 + 8 + len(data)) + b"WAVE"
                + b"fmt " + struct.pack("<I", 16) + fmt
                + b"data" + struct.pack("<I", len(data)) + data)
        with open(self.path("sfx/dig.wav"), "wb") as f:
            f.write(blob)
        self.assertRejected("not plain PCM")

    def test_truncated_data(self):
        p = self.path("sfx/ruby.wav")
        with open(p, "rb") as f:
            blob = f.read()
        with open(p, "wb") as f:
            f.write(blob[: len(blob) // 2])
        self.assertRejected("truncated")

    def test_clipping(self):
        self.rewrite("sfx/cannon.wav", lambda x: x / np.max(np.abs(x)))
        self.assertRejected("peak")
        self.setUp()
        self.rewrite("sfx/open.wav", lambda x: x * 3.0)
        self.assertRejected("peak")

    def test_effect_too_long_or_silent(self):
        self.rewrite("sfx/sword1.wav", lambda x: np.concatenate([x, np.zeros(SR * 2)]))
        self.assertRejected("sword1.*long")
        self.setUp()
        self.rewrite("sfx/treasure.wav", lambda x: np.concatenate([x, np.zeros(SR)]))
        self.assertRejected("treasure.*long")
        self.setUp()
        self.rewrite("sfx/mini_enter.wav", lambda x: x * 1e-3)
        self.assertRejected("silent")

    def test_effect_cut_off_mid_sound(self):
        self.rewrite("sfx/ghost.wav", lambda x: x[: len(x) // 2])
        self.assertRejected("non-zero sample")

    def test_music_too_short(self):
        self.rewrite("sfx/end.wav", lambda x: x[: SR * 12])
        self.assertRejected("end.wav.*loop is")

    def test_music_clicks_at_loop_point(self):
        # a drone whose cycle doesn't finish at the loop end steps at the seam
        def drone(x):
            t = np.arange(len(x)) / SR
            return x + 0.03 * np.sin(2 * np.pi * 110.3 * t)
        self.rewrite("sfx/game.wav", drone)
        self.assertRejected("game.wav: clicks at the loop point")

    def test_music_rendered_without_folding_the_overhang(self):
        # the bug the Loop class exists to prevent: notes ringing past the
        # loop end simply cut off instead of carrying on at the start (shown
        # on the shortest loop: the fold is one piece of code for all three)
        folded = music.Loop.stem
        music.Loop.stem = lambda self, name: self.stems[name][:self.length].copy()
        try:
            x = music.LOOPS["sfx/open.wav"]()
        finally:
            music.Loop.stem = folded
        write_wav(self.path("sfx/open.wav"), x)
        self.assertRejected("sfx/open.wav: clicks at the loop point")

    def test_music_dc_offset(self):
        self.rewrite("sfx/open.wav", lambda x: x + 0.01)
        self.assertRejected("DC offset")

    def test_music_too_loud_for_effects(self):
        self.rewrite("sfx/open.wav", lambda x: x * 1.6)
        self.assertRejected("bury the effects")

    def test_duplicate_effect(self):
        shutil.copy(self.path("sfx/coin.wav"), self.path("sfx/jump.wav"))
        self.assertRejected("identical audio")


class LoopSeams(unittest.TestCase):
    def test_overhang_wraps_to_start(self):
        L = music.Loop(2, 1000, tail_seconds=0.1)
        L.add("x", 1900, np.ones(300))
        s = L.stem("x")
        self.assertEqual(len(s), 2000)
        self.assertEqual(s[1899], 0.0)
        self.assertTrue(np.all(s[1900:] == 1.0))
        self.assertTrue(np.all(s[:200] == 1.0))
        self.assertEqual(s[200], 0.0)

    def test_negative_position_lands_at_end(self):
        L = music.Loop(1, 1000, tail_seconds=0.1)
        L.add("x", -10, np.ones(20))
        s = L.stem("x")
        self.assertTrue(np.all(s[-10:] == 1.0) and np.all(s[:10] == 1.0))

    def test_overrunning_the_tail_is_an_error(self):
        L = music.Loop(1, 1000, tail_seconds=0.01)
        with self.assertRaises(ValueError):
            L.add("x", 900, np.ones(2000))

    def test_seam_detector(self):
        t = np.arange(SR * 2) / SR
        whole = 0.3 * np.sin(2 * np.pi * 220 * t)          # 440 whole cycles
        self.assertTrue(sounds._seam_ok(whole)[0])
        broken = 0.3 * np.sin(2 * np.pi * 220 * t[:-37])   # ends mid-cycle
        self.assertFalse(sounds._seam_ok(broken)[0])


if __name__ == "__main__":
    unittest.main()
