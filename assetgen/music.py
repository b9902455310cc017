"""The three music loops: title shanty, in-game drive, and the end lament.

A loop is written as a whole number of bars. Notes are rendered into a
buffer that runs a few seconds past the loop end; whatever rings past the end
(releases, drum tails) is folded back onto the start, and reverb and
mastering filters are applied circularly. The result is a waveform that is
periodic: played with Mix_PlayMusic(music, -1) there is no seam to hear.
"""
import numpy as np

import instruments as ins
from synth import (SR, db_to_amp, note, nsamp, rng, colored_noise,
                   lowpass_gain, soft_clip, normalize)

MUSIC_PEAK_DB = -7.0


class Loop:
    def __init__(self, bars, bar_samples, tail_seconds=4.0, seed=0):
        self.length = bars * bar_samples
        self.bar = bar_samples
        self.tail = nsamp(tail_seconds)
        self.stems = {}
        self.rand = rng(seed)

    def add(self, stem, pos, sig, gain=1.0):
        buf = self.stems.get(stem)
        if buf is None:
            buf = self.stems[stem] = np.zeros(self.length + self.tail)
        pos = int(pos) % self.length
        if pos + len(sig) > len(buf):
            raise ValueError("sound of %d samples overruns the loop tail"
                             % len(sig))
        buf[pos:pos + len(sig)] += gain * sig

    def jitter(self, samples):
        """Tiny, seeded timing wobble so parts don't sound machine-stacked."""
        return int(self.rand.randint(-samples, samples + 1)) if samples else 0

    def stem(self, name):
        """Stem folded to exactly one loop length (overhang wrapped)."""
        buf = self.stems[name]
        out = buf[:self.length].copy()
        over = buf[self.length:]
        k = 0
        while k < len(over):
            m = min(self.length, len(over) - k)
            out[:m] += over[k:k + m]
            k += m
        return out

    def mix(self, gains, reverb_wet=0.15, reverb_time=1.4, brightness=8000.0,
            seed=99):
        dry = np.zeros(self.length)
        for name, g in gains.items():
            if name in self.stems:
                dry += db_to_amp(g) * self.stem(name)
        wet = circular_reverb(dry, reverb_time, seed)
        x = dry + reverb_wet * wet
        x = master(x, brightness)
        return normalize(x, MUSIC_PEAK_DB)


def circular_reverb(x, decay_time, seed):
    """Convolve with a synthetic room tail, treating x as periodic."""
    n = nsamp(decay_time * 1.3)
    t = np.arange(n) / SR
    ir = colored_noise(n, seed, lowpass_gain(4500)) * np.exp(-6.9 * t / decay_time)
    pre = nsamp(0.018)  # pre-delay before the wash starts
    ir = np.concatenate([np.zeros(pre), ir])
    ir /= np.sqrt(np.sum(ir ** 2)) + 1e-12
    spectrum = np.fft.rfft(x) * np.fft.rfft(ir, len(x))
    wet = np.fft.irfft(spectrum, len(x))
    # match the wet level to the dry so reverb_wet is a plain ratio
    return wet * (np.std(x) / (np.std(wet) + 1e-12))


def master(x, brightness):
    """Circular EQ (kill DC and sub rumble, tame the top), gentle glue."""
    spectrum = np.fft.rfft(x)
    f = np.fft.rfftfreq(len(x), 1.0 / SR)
    hp = 1.0 / np.sqrt(1.0 + (32.0 / np.maximum(f, 1e-3)) ** 4)
    lp = 1.0 / np.sqrt(1.0 + (f / brightness) ** 4)
    spectrum *= hp * lp
    spectrum[0] = 0.0
    y = np.fft.irfft(spectrum, len(x))
    y = y / np.max(np.abs(y))
    y = soft_clip(y * 1.1, 1.2)
    return y - np.mean(y)


def seq(loop, stem, start, tick, voice, notes, gain=1.0, legato=0.92,
        jitter=0):
    """Play a melody line. notes: list of (name or None, length in ticks[, vel]).
    Returns the tick after the last note."""
    pos = start
    for item in notes:
        name, length = item[0], item[1]
        vel = item[2] if len(item) > 2 else 1.0
        if name is not None:
            dur = length * tick / SR * legato
            sig = voice(note(name), dur, vel)
            loop.add(stem, pos * tick + loop.jitter(jitter), sig, gain)
        pos += length
    return pos


# ------------------------------------------------------------------ title

def shanty():
    """Title screen: a jaunty 6/8 sea shanty in D mixolydian. Squeezebox
    carries the first strain, the fiddle the second, a pennywhistle the
    turnaround; plucked bass and accordion 'oom-pa-pa', frame drum and
    tambourine underneath."""
    eighth = 4410                     # 0.2 s: dotted quarter = 100 bpm
    bar = 6 * eighth
    bars = 20
    L = Loop(bars, bar, seed=11)

    strain_a = [
        ("D5", 2), ("A4", 1), ("F#4", 2), ("A4", 1),
        ("D5", 2), ("E5", 1), ("F#5", 3),
        ("E5", 2), ("D5", 1), ("C5", 2), ("E5", 1),
        ("D5", 2), ("B4", 1), ("A4", 3),
        ("D5", 2), ("A4", 1), ("F#4", 2), ("A4", 1),
        ("B4", 2), ("D5", 1), ("G5", 3),
        ("F#5", 2), ("E5", 1), ("D5", 2), ("C#5", 1),
        ("D5", 5), ("A4", 1),
    ]
    strain_b = [
        ("G5", 2), ("F#5", 1), ("E5", 2), ("D5", 1),
        ("F#5", 2), ("E5", 1), ("D5", 2), ("A4", 1),
        ("G5", 2), ("E5", 1), ("C5", 2), ("E5", 1),
        ("F#5", 3), ("D5", 3),
        ("G5", 2), ("A5", 1), ("B5", 2), ("G5", 1),
        ("A5", 2), ("F#5", 1), ("D5", 3),
        ("E5", 2), ("F#5", 1), ("E5", 2), ("C#5", 1),
        ("D5", 6),
    ]
    turnaround = [
        ("A4", 2), ("D5", 1), ("F#5", 2), ("A5", 1),
        ("G5", 2), ("E5", 1), ("C5", 3),
        ("B4", 2), ("D5", 1), ("G5", 2), ("F#5", 1),
        ("E5", 2), ("C#5", 1), ("A4", 3),
    ]
    lead_acc = lambda f, d, v: ins.accordion(f, d, v)
    lead_fid = lambda f, d, v: ins.fiddle(f, d, v, vib_depth=0.004)
    lead_whi = lambda f, d, v: ins.whistle(f, d, v)
    seq(L, "lead_acc", 0, eighth, lead_acc, strain_a, legato=0.85, jitter=40)
    seq(L, "lead_fid", 8 * 6, eighth, lead_fid, strain_b, legato=0.95, jitter=60)
    seq(L, "lead_whi", 16 * 6, eighth, lead_whi, turnaround, legato=0.9, jitter=60)

    chords = ["D", "D", "C", "G", "D", "G", "A", "D",
              "G", "D", "C", "D", "G", "D", "A", "D",
              "D", "C", "G", "A"]
    voicing = {"D": ("F#3", "A3", "D4"), "C": ("E3", "G3", "C4"),
               "G": ("D3", "G3", "B3"), "A": ("E3", "A3", "C#4")}
    bass_notes = {"D": ("D2", "A2"), "C": ("C2", "G2"), "G": ("G2", "D2"),
                  "A": ("A2", "E2")}
    for b, ch in enumerate(chords):
        base = b * bar
        root, fifth = bass_notes[ch]
        L.add("bass", base, ins.pluck_bass(note(root), 2.6 * eighth / SR, 1.0))
        L.add("bass", base + 3 * eighth, ins.pluck_bass(note(fifth), 2.6 * eighth / SR, 0.8))
        for k, v in ((1, 0.5), (2, 0.42), (4, 0.5), (5, 0.42)):
            for nm in voicing[ch]:
                L.add("chords", base + k * eighth + L.jitter(30),
                      ins.accordion(note(nm), 0.55 * eighth / SR, v, release=0.05))
        L.add("drum", base, ins.bodhran(1.0))
        L.add("drum", base + 3 * eighth, ins.bodhran(0.7))
        L.add("drum", base + 5 * eighth, ins.bodhran(0.3, pitch=120.0))
        L.add("tamb", base + 2 * eighth, ins.tambourine(0.7))
        L.add("tamb", base + 5 * eighth, ins.tambourine(0.9))
        if b % 4 == 3:  # little shake into the next phrase
            L.add("tamb", base + 4 * eighth, ins.tambourine(0.5, seed=15))

    return L.mix({"lead_acc": -2.0, "lead_fid": -0.5, "lead_whi": 1.0,
                  "chords": -9.0, "bass": -1.0, "drum": -7.0, "tamb": 0.0},
                 reverb_wet=0.18, reverb_time=1.3, brightness=8000.0)


# ------------------------------------------------------------------ action

def battle():
    """In game: A minor, 150 bpm, a relentless eighth-note cello/bass
    ostinato, marching-snare drive and a fiddle tune above."""
    eighth = 4410                     # 0.2 s: quarter = 150 bpm
    quarter = 2 * eighth
    sixteenth = eighth // 2
    bar = 4 * quarter
    bars = 16
    L = Loop(bars, bar, seed=22)

    melody = [
        ("A4", 2), ("C5", 1), ("E5", 1), ("A5", 2), ("G5", 1), ("E5", 1),
        ("E5", 2), ("D5", 1), ("C5", 1), ("B4", 2), ("C5", 2),
        ("A4", 2), ("C5", 1), ("F5", 1), ("A5", 2), ("F5", 2),
        ("G5", 3), ("F5", 1), ("E5", 2), ("D5", 2),
        ("E5", 1), ("E5", 1), ("A5", 2), ("E5", 1), ("C5", 1), ("A4", 2),
        ("B4", 1), ("C5", 1), ("D5", 1), ("E5", 1), ("C5", 2), ("A4", 2),
        ("F5", 2), ("E5", 1), ("D5", 1), ("C5", 2), ("D5", 2),
        ("B4", 2), ("G#4", 2), ("E4", 2), ("B4", 2),
        ("D5", 2), ("F5", 1), ("A5", 1), ("D6", 2), ("A5", 2),
        ("C6", 2), ("B5", 1), ("A5", 1), ("E5", 4),
        ("F5", 1), ("G5", 1), ("A5", 2), ("C6", 2), ("A5", 2),
        ("G#5", 3), ("F5", 1), ("E5", 4),
        ("D5", 1), ("E5", 1), ("F5", 1), ("G5", 1), ("A5", 2), ("F5", 2),
        ("E5", 1), ("F5", 1), ("E5", 1), ("D5", 1), ("C5", 2), ("A4", 2),
        ("B4", 2), ("C5", 1), ("D5", 1), ("E5", 2), ("G#5", 2),
        ("B5", 4), ("G#5", 2), ("E5", 2),
    ]
    lead = lambda f, d, v: ins.fiddle(f, d, v, attack=0.02, vib_depth=0.004,
                                      vib_delay=0.18)
    seq(L, "lead", 0, eighth, lead, melody, legato=0.9, jitter=30)

    chords = ["Am", "Am", "F", "G", "Am", "Am", "F", "E",
              "Dm", "Am", "F", "E", "Dm", "Am", "E", "E"]
    roots = {"Am": "A1", "F": "F1", "G": "G1", "E": "E1", "Dm": "D2"}
    voicing = {"Am": ("A3", "C4", "E4"), "F": ("A3", "C4", "F4"),
               "G": ("B3", "D4", "G4"), "E": ("G#3", "B3", "E4"),
               "Dm": ("A3", "D4", "F4")}
    pattern = [12, 12, 24, 12, 12, 24, 19, 24]  # semitones above the low root
    rnd = rng(23)
    for b, ch in enumerate(chords):
        base = b * bar
        r = note(roots[ch])
        for k, semis in enumerate(pattern):
            accent = 1.0 if k % 2 == 0 else 0.75
            L.add("ostinato", base + k * eighth,
                  ins.cello(r * 2 ** (semis / 12.0), 0.16, accent))
        L.add("bass", base, ins.pluck_bass(r * 2, 0.75, 1.0))
        L.add("bass", base + 3 * eighth, ins.pluck_bass(r * 2, 0.35, 0.7))
        L.add("bass", base + 4 * eighth, ins.pluck_bass(r * 2, 0.75, 0.9))
        for k in (1, 3, 5, 7):
            for nm in voicing[ch]:
                L.add("stabs", base + k * eighth,
                      ins.accordion(note(nm), 0.09, 0.8, release=0.04))
        for nm in voicing[ch]:
            L.add("pad", base, ins.string_pad(note(nm) / 2, bar / SR * 0.98, 0.8,
                                             attack=0.3, release=0.4, seed=b))
        # drums
        L.add("kick", base, ins.kick(1.0))
        L.add("kick", base + 2 * quarter, ins.kick(0.9))
        if b % 2 == 1:
            L.add("kick", base + 5 * eighth, ins.kick(0.7))
        for beat in (1, 3):
            L.add("snare", base + beat * quarter, ins.snare(1.0))
        fill = (b % 4 == 3)
        for s in range(16):
            pos = base + s * sixteenth
            if s % 4 == 0 and s // 4 in (1, 3):
                continue  # backbeat already there
            if fill and s >= 12 + (0 if b == bars - 1 else 2):
                vel = 0.45 + 0.1 * (s - 12)
            elif b == bars - 1 and s >= 8:
                vel = 0.3 + 0.05 * (s - 8)
            elif s % 2 == 1:
                vel = 0.12 + 0.06 * rnd.rand()
            else:
                vel = 0.22
            L.add("snare", pos, ins.snare(vel, seed=30 + s % 3, tau=0.05))
        for k in range(8):
            L.add("hat", base + k * eighth, ins.hat(0.9 if k % 2 else 0.6))

    return L.mix({"lead": -1.0, "ostinato": -4.0, "bass": -4.0, "stabs": -12.0,
                  "pad": -12.0, "kick": -1.0, "snare": -3.0, "hat": -4.0},
                 reverb_wet=0.12, reverb_time=1.1, brightness=8500.0)


# --------------------------------------------------------------- the end

def lament():
    """Game over: slow D minor lament in 3/4 (72 bpm). A lone fiddle over
    soft strings, a plucked bass note per bar, distant timpani and a hushed
    brush on the off beats."""
    quarter = 18375                   # 5/6 s: 72 bpm
    bar = 3 * quarter
    bars = 10
    L = Loop(bars, bar, tail_seconds=5.0, seed=33)

    melody = [
        ("A4", 4), ("D5", 2),
        ("F5", 4), ("D5", 2),
        ("D5", 3), ("C5", 1), ("Bb4", 2),
        ("A4", 6),
        ("D5", 2), ("E5", 2), ("F5", 2),
        ("A5", 4), ("G5", 1), ("F5", 1),
        ("E5", 4), ("C5", 2),
        ("D5", 3), ("Bb4", 1), ("G4", 2),
        ("A4", 2), ("C#5", 2), ("E5", 2),
        ("D5", 2), ("C#5", 4),
    ]
    half_beat = quarter // 2
    lead = lambda f, d, v: ins.fiddle(f, d, 0.9 * v, attack=0.12, release=0.35,
                                      vib_depth=0.006, vib_rate=5.0,
                                      vib_delay=0.25)
    seq(L, "lead", 0, half_beat, lead, melody, legato=0.97, jitter=80)
    # the pennywhistle answers the last phrase an octave up, very softly
    echo = [("F5", 2), ("E5", 2), ("D5", 2), ("C#5", 6)]
    seq(L, "echo", 8 * 6 + 2, half_beat,
        lambda f, d, v: ins.whistle(f * 2, d, v), echo, legato=0.95)

    chords = ["Dm", "Bb", "Gm", "A", "Dm", "F", "C", "Gm", "A", "A"]
    voicing = {"Dm": ("D3", "F3", "A3"), "Bb": ("D3", "F3", "Bb3"),
               "Gm": ("D3", "G3", "Bb3"), "A": ("C#3", "E3", "A3"),
               "F": ("C3", "F3", "A3"), "C": ("C3", "E3", "G3")}
    roots = {"Dm": "D2", "Bb": "Bb1", "Gm": "G1", "A": "A1", "F": "F2", "C": "C2"}
    for b, ch in enumerate(chords):
        base = b * bar
        for i, nm in enumerate(voicing[ch]):
            L.add("pad", base, ins.string_pad(note(nm), bar / SR * 0.97, 0.9,
                                             attack=0.6, release=1.2,
                                             seed=3 * b + i))
        r = note(roots[ch])
        L.add("bass", base, ins.pluck_bass(r * 2, 1.2, 1.0))
        L.add("bass", base + 2 * quarter, ins.pluck_bass(r * 3, 0.7, 0.5))
        if b % 2 == 0:
            L.add("timp", base, ins.timpani(note("D2") if ch != "A" else note("A1"), 1.0))
        else:
            L.add("timp", base, ins.timpani(note("A1"), 0.6))
        L.add("brush", base + quarter, ins.shaker(0.8, seed=60 + b % 3))
        L.add("brush", base + 2 * quarter, ins.shaker(0.6, seed=63 + b % 2))

    return L.mix({"lead": 0.0, "echo": -6.0, "pad": -5.0, "bass": -4.0,
                  "timp": -2.0, "brush": 10.0},
                 reverb_wet=0.35, reverb_time=2.2, brightness=7000.0)


LOOPS = {
    "sfx/open.wav": shanty,
    "sfx/game.wav": battle,
    "sfx/end.wav": lament,
}
