"""Brinegrab's sound effects and music, plus the checks they must pass.

generate(out_dir)      writes every sfx/*.wav the game loads (make(out_dir, rel) one)
check_sounds(out_dir)  validates them; raises AssertionError/ValueError

The mixer is opened at 22050 Hz, 16-bit, stereo; we write mono 22050 Hz
16-bit PCM, which SDL_mixer converts for free at load. Effects are mastered
hot (-3..-1.5 dBFS) and the music well below (about -7 dBFS), so a cannon or
a coin always cuts through the tune.

Run directly to check a tree and print a table:
    /usr/bin/python3 assetgen/sounds.py OUT_DIR
"""
import hashlib
import os
import sys
import wave

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import instruments as ins  # noqa: E402
import music  # noqa: E402
from synth import (SR, additive, bandpass_gain, colored_noise,  # noqa: E402
                   dbfs, expdecay, fade, highpass_gain, lowpass_gain,
                   note, noise, nsamp, partials, place, read_wav, read_wav_header,
                   ramp, rng,
                   soft_clip, svf, timebase, vibrato, write_wav, normalize)


# ------------------------------------------------------------------ effects

def _unit(x):
    return x / np.max(np.abs(x))


def cannon():
    """Boom: a sharp blast of noise whose brightness collapses fast, a
    pitch-dropping thump, and a short rolling rumble. ~1 s, so a volley
    every couple of seconds doesn't pile up into mud."""
    n = nsamp(1.0)
    t = timebase(n)
    f = 52.0 + 95.0 * np.exp(-t / 0.05)
    thump = _unit(additive(f, [1.0, 0.5, 0.25, 0.1], n)) * expdecay(n, 0.15, 0.002)
    cutoff = 220.0 + 3800.0 * np.exp(-t / 0.07)
    blast = _unit(svf(noise(n, 101), cutoff, q=0.8, mode="low")) * expdecay(n, 0.16, 0.001)
    rumble = colored_noise(n, 102, bandpass_gain(50, 400)) * expdecay(n, 0.32, 0.03)
    crack = colored_noise(n, 103, highpass_gain(1500)) * expdecay(n, 0.01, 0.0005)
    x = 0.55 * thump + 1.0 * blast + 0.6 * rumble + 0.25 * crack
    x = soft_clip(_unit(x) * 2.0, 1.0)
    x *= np.exp(-np.maximum(t - 0.7, 0) / 0.08)  # tidy the very end
    return fade(x, 0.001, 0.05)


def coin():
    """Two quick rising square-ish blips (B5 -> E6): the classic pickup."""
    def blip(freq, dur):
        n = nsamp(dur)
        amps = [1.0, 0.0, 0.33, 0.0, 0.2, 0.0, 0.14]
        return additive(freq, amps, n)
    a = blip(note("B5"), 0.07) * adsr_simple(nsamp(0.07), 0.002, 0.008)
    n_b = nsamp(0.15)
    b = blip(note("E6"), 0.15) * expdecay(n_b, 0.06, 0.002)
    x = np.concatenate([a, b])
    return fade(x, 0.001, 0.015)


def adsr_simple(n, attack, release):
    env = np.ones(n)
    a, r = nsamp(attack), nsamp(release)
    env[:a] = ramp(a)
    env[n - r:] = ramp(r)[::-1]
    return env


def ruby():
    """Sparkly chime: a quick rising arpeggio of glassy bells with a
    shimmer of high glints on top."""
    n = nsamp(0.65)
    x = np.zeros(n)
    steps = [("E6", 0.0, 1.0), ("G#6", 0.045, 0.9), ("B6", 0.09, 0.85),
             ("E7", 0.135, 0.8), ("B6", 0.2, 0.35)]
    for name, when, vel in steps:
        b = ins.bell(note(name), vel, length=0.65 - when)
        place(x, nsamp(when), b)
    t = timebase(n)
    glint = colored_noise(n, 201, highpass_gain(7000, 3))
    sparkle = np.zeros(n)
    r = rng(202)
    for when in r.uniform(0.02, 0.45, 7):
        k = nsamp(when)
        seg = expdecay(n - k, 0.012, 0.001)
        sparkle[k:] += seg * r.uniform(0.4, 1.0)
    x += 0.12 * glint * sparkle * np.exp(-t / 0.3)
    return fade(x, 0.001, 0.03)


def ghost():
    """Wail: a sine voice swooping up then sagging down with a wide,
    slow, wobbly vibrato, a ghostly fifth a hair out of tune, and breathy
    air around it."""
    n = nsamp(1.2)
    t = timebase(n)
    contour = 330.0 * (1.0 + 0.6 * np.sin(np.pi * np.clip(t / 0.5, 0, 1) * 0.5)
                       - 0.45 * np.clip((t - 0.45) / 0.75, 0, 1) ** 1.5)
    wob = 1.0 + 0.035 * np.sin(2 * np.pi * (5.0 * t + 0.8 * t * t))
    f = contour * wob
    voice = additive(f, [1.0, 0.18, 0.05], n)
    ghost5 = additive(f * 1.4983 * 1.004, [1.0, 0.1], n, phase0=0.7)
    air = svf(noise(n, 301), f * 3.0, q=3.0, mode="band")
    air /= np.max(np.abs(air))
    env = np.sin(np.pi * np.clip(t / 1.2, 0, 1)) ** 1.2
    env *= 0.7 + 0.3 * np.sin(2 * np.pi * 1.6 * t + 1.0)  # breathing swell
    x = env * (voice + 0.35 * ghost5 + 0.35 * air)
    return fade(x, 0.01, 0.05)


def treasure():
    """Fanfare: brass pickup triplet up the C major triad into a held,
    swelling chord, with a kettle-drum hit and a sparkle of bells."""
    n = nsamp(2.2)
    x = np.zeros(n)
    step = 0.11
    for i, nm in enumerate(("G4", "C5", "E5")):
        place(x, nsamp(i * step), ins.brass(note(nm), step * 0.85, 0.85, release=0.05))
    hit = 3 * step
    hold = 1.25
    for nm, v in (("G5", 1.0), ("E5", 0.7), ("C5", 0.7), ("G4", 0.55), ("C4", 0.5)):
        place(x, nsamp(hit), ins.brass(note(nm), hold, v, release=0.4, vib=0.006))
    place(x, nsamp(hit), 0.8 * ins.timpani(note("C2"), 1.0, length=1.8))
    place(x, nsamp(hit - 2 * step), 0.25 * ins.timpani(note("G2"), 0.6, length=0.4))
    for k, nm in enumerate(("C7", "G6", "E6", "C7", "G7")):
        place(x, nsamp(hit + 0.05 + 0.07 * k), 0.35 * ins.bell(note(nm), 0.8, 0.7))
    return fade(x, 0.001, 0.1)


def dig():
    """Spade into earth: a gritty crunch of dull noise, a short low thud
    and a faint scrape of the blade."""
    n = nsamp(0.3)
    t = timebase(n)
    crunch_src = colored_noise(n, 401, bandpass_gain(200, 1800))
    grains = np.abs(colored_noise(n, 402, lowpass_gain(150))) ** 1.5
    crunch = _unit(crunch_src * (0.4 + grains)) * expdecay(n, 0.075, 0.003)
    f = 70.0 + 70.0 * np.exp(-t / 0.02)
    thud = additive(f, [1.0, 0.4, 0.15], n) * expdecay(n, 0.035, 0.001)
    scrape = _unit(svf(noise(n, 403), 2600.0, q=6.0, mode="band")) \
        * expdecay(n, 0.03, 0.004)
    x = 1.0 * crunch + 0.45 * thud + 0.12 * scrape
    return fade(x, 0.001, 0.04)


def jump():
    """Boing-ish upward sweep: a mellow square-ish tone gliding up an
    octave and a half, with a puff of air."""
    n = nsamp(0.25)
    t = timebase(n)
    f = 220.0 * (4.0 ** ((t / 0.25) ** 0.6))
    tone = additive(f, [1.0, 0.15, 0.35, 0.05, 0.15], n)
    env = expdecay(n, 0.11, 0.004)
    puff = svf(noise(n, 501), f * 2.0, q=1.2, mode="band")
    puff = puff / np.max(np.abs(puff)) * expdecay(n, 0.05, 0.003)
    return fade(env * tone + 0.15 * puff, 0.001, 0.03)


def sword1():
    """Swoosh: air cut by a blade (a band of noise sweeping up and back),
    then a small metallic ring as the edge sings."""
    n = nsamp(0.35)
    t = timebase(n)
    peak_t = 0.09
    swell = np.exp(-((t - peak_t) / 0.045) ** 2)
    swell[t > peak_t] = np.exp(-((t[t > peak_t] - peak_t) / 0.07) ** 2)
    centre = 700.0 + 3300.0 * np.exp(-((t - peak_t) / 0.06) ** 2)
    swish = svf(noise(n, 601), centre, q=1.6, mode="band")
    swish = swish / np.max(np.abs(swish)) * swell
    ring_n = n - nsamp(0.07)
    ring = partials(2350.0, [1.0, 1.46, 2.21, 3.07], [1.0, 0.6, 0.45, 0.25],
                    [0.12, 0.09, 0.06, 0.04], ring_n)
    ring = fade(ring, 0.004, 0.01)
    x = swish.copy()
    place(x, nsamp(0.07), 0.22 * ring)
    return fade(x, 0.002, 0.03)


def mini_enter():
    """Portal: a rising, resonant whoosh of noise that blooms into a
    shimmering, chorused D major chord with a rising sparkle of bells."""
    n = nsamp(1.2)
    t = timebase(n)
    centre = 250.0 * (20.0 ** np.clip(t / 0.85, 0, 1))
    whoosh = svf(noise(n, 701), centre, q=2.5, mode="band")
    whoosh /= np.max(np.abs(whoosh))
    w_env = np.clip(t / 0.6, 0, 1) ** 1.5 * np.exp(-np.maximum(t - 0.6, 0) / 0.15)
    chord = np.zeros(n)
    for k, nm in enumerate(("D5", "F#5", "A5", "D6")):
        f0 = note(nm)
        for det in (-0.006, 0.006):
            f = vibrato(f0 * (1 + det), n, 6.5 + k, 0.003)
            chord += additive(f, [1.0, 0.25, 0.08], n, phase0=k + det * 100)
    shimmer = 0.75 + 0.25 * np.sin(2 * np.pi * 11.0 * t)
    c_env = np.clip((t - 0.3) / 0.35, 0, 1) ** 2 * np.exp(-np.maximum(t - 0.75, 0) / 0.2)
    x = 0.9 * whoosh * w_env + 0.12 * chord * shimmer * c_env
    for k, nm in enumerate(("A6", "D7", "F#7", "A7")):
        place(x, nsamp(0.55 + 0.06 * k), 0.18 * ins.bell(note(nm), 0.8, 0.45))
    return fade(x, 0.01, 0.08)


# (file, maker, target peak dBFS)
EFFECTS = [
    ("sfx/cannon.wav", cannon, -1.5),
    ("sfx/coin.wav", coin, -3.0),
    ("sfx/ruby.wav", ruby, -3.0),
    ("sfx/ghost.wav", ghost, -3.0),
    ("sfx/treasure.wav", treasure, -2.0),
    ("sfx/dig.wav", dig, -2.0),
    ("sfx/jump.wav", jump, -3.0),
    ("sfx/sword1.wav", sword1, -2.5),
    ("sfx/mini_enter.wav", mini_enter, -2.5),
]

MUSIC = sorted(music.LOOPS)


def make(out_dir, rel):
    """Writes the one sound rel (an effect or a music loop)."""
    os.makedirs(os.path.join(out_dir, "sfx"), exist_ok=True)
    if rel in music.LOOPS:
        write_wav(os.path.join(out_dir, rel), music.LOOPS[rel]())
        return
    maker, peak = {e[0]: e[1:] for e in EFFECTS}[rel]
    write_wav(os.path.join(out_dir, rel), normalize(maker(), peak))


def generate(out_dir):
    for rel in [e[0] for e in EFFECTS] + MUSIC:
        make(out_dir, rel)


# ------------------------------------------------------------------- checks

PEAK_LIMIT_DB = -1.0          # nothing may come near clipping
EFFECT_MAX_S = 1.5
TREASURE_MAX_S = 3.0
EFFECT_MIN_S = 0.05
EFFECT_MIN_RMS_DB = -35.0     # an effect this quiet is as good as missing
EFFECT_EDGE = 0.02            # first/last sample must be near silence
MUSIC_MIN_S = 20.0
MUSIC_MAX_S = 60.0
MUSIC_MAX_PEAK_DB = -5.0      # stay under the effects
MUSIC_MIN_RMS_DB = -40.0
MUSIC_MAX_DC = 0.002
SEAM_MAX_STEPS = 3.0          # wrap jump vs median sample step
SEAM_MAX_ERROR = 0.15         # seam prediction error vs the loop's 99.9th pct


def _stats(x):
    peak = float(np.max(np.abs(x))) if len(x) else 0.0
    rms = float(np.sqrt(np.mean(x ** 2))) if len(x) else 0.0
    return peak, rms


def _load(out_dir, rel):
    path = os.path.join(out_dir, rel)
    if not os.path.isfile(path):
        raise AssertionError("missing sound file: %s" % rel)
    hdr = read_wav_header(path)
    if hdr["tag"] != 1:
        raise AssertionError("%s: format tag %d is not plain PCM (1)" % (rel, hdr["tag"]))
    if hdr["bits"] != 16:
        raise AssertionError("%s: %d-bit samples, need 16-bit" % (rel, hdr["bits"]))
    if hdr["rate"] != SR:
        raise AssertionError("%s: sample rate %d Hz, the mixer runs at %d Hz"
                             % (rel, hdr["rate"], SR))
    if hdr["channels"] not in (1, 2):
        raise AssertionError("%s: %d channels, need mono or stereo"
                             % (rel, hdr["channels"]))
    if hdr["align"] != 2 * hdr["channels"] or hdr["byterate"] != SR * hdr["align"]:
        raise AssertionError("%s: inconsistent fmt chunk (align %d, byte rate %d)"
                             % (rel, hdr["align"], hdr["byterate"]))
    if hdr["data_size"] % hdr["align"]:
        raise AssertionError("%s: data size %d is not whole frames"
                             % (rel, hdr["data_size"]))
    try:
        data, _ = read_wav(path)
    except (wave.Error, EOFError) as exc:
        raise ValueError("%s: unreadable WAV: %s" % (rel, exc))
    if len(data) == 0:
        raise AssertionError("%s: no samples" % rel)
    return data


def _prediction_error(x, order=24):
    """|x[n] - prediction from the previous `order` samples| for every n,
    treating x as the endless loop it will be played as (sample 0 is
    predicted from the last samples). Predictor fitted to the whole loop."""
    n = len(x)
    xx = np.concatenate([x[-order:], x])
    idx = np.arange(order, order + n)
    rows = idx[::max(1, n // 60000)]
    lags = np.arange(1, order + 1)
    coef = np.linalg.lstsq(xx[rows[:, None] - lags], xx[rows], rcond=None)[0]
    pred = np.zeros(n)
    for k, c in zip(lags, coef):
        pred += c * xx[idx - k]
    return np.abs(xx[idx] - pred)


def _seam_ok(x):
    """Does the loop wrap without a click?

    Two views of the step from the last sample back to the first:
    - its size against the loop's typical (median) sample-to-sample step;
    - how badly the loop's own linear predictor misses sample 0 given the
      end of the loop, against the worst misses (99.9th percentile, drum
      hits and the like) anywhere else. A waveform that jumps at the seam
      is unpredictable there even when the jump is no bigger than the busy
      high end of the mix.
    Returns (ok, jump, median step, seam error ratio)."""
    jump = abs(float(x[0] - x[-1]))
    median_step = float(np.median(np.abs(np.diff(x))))
    floor = 4.0 / 32768.0
    err = _prediction_error(x)
    ratio = float(np.max(err[:2]) / max(np.percentile(err, 99.9), floor))
    ok = jump <= max(SEAM_MAX_STEPS * median_step, floor) and ratio <= SEAM_MAX_ERROR
    return ok, jump, median_step, ratio


def check_sounds(out_dir):
    """Validate every sound under out_dir. Returns rows of
    (file, seconds, channels, peak dBFS, rms dBFS) for reporting."""
    rows = []
    digests = {}
    for rel, _, _ in EFFECTS:
        data = _load(out_dir, rel)
        x = data.mean(axis=1)
        secs = len(data) / float(SR)
        limit = TREASURE_MAX_S if rel.endswith("treasure.wav") else EFFECT_MAX_S
        if not EFFECT_MIN_S <= secs < limit:
            raise AssertionError("%s: %.3f s long, effects must be %.2f..%.1f s"
                                 % (rel, secs, EFFECT_MIN_S, limit))
        peak, rms = _stats(data)
        if dbfs(peak) >= PEAK_LIMIT_DB:
            raise AssertionError("%s: peak %.2f dBFS, must stay under %.1f dBFS"
                                 % (rel, dbfs(peak), PEAK_LIMIT_DB))
        if dbfs(rms) < EFFECT_MIN_RMS_DB:
            raise AssertionError("%s: RMS %.1f dBFS, effect is (nearly) silent"
                                 % (rel, dbfs(rms)))
        if max(abs(x[0]), abs(x[-1])) > EFFECT_EDGE:
            raise AssertionError("%s: starts or ends on a non-zero sample "
                                 "(click when played)" % rel)
        rows.append((rel, secs, data.shape[1], dbfs(peak), dbfs(rms)))
        digests.setdefault(hashlib.sha1(data.tobytes()).hexdigest(), []).append(rel)

    for rel in MUSIC:
        data = _load(out_dir, rel)
        secs = len(data) / float(SR)
        if not MUSIC_MIN_S <= secs <= MUSIC_MAX_S:
            raise AssertionError("%s: loop is %.2f s, must be %.0f..%.0f s"
                                 % (rel, secs, MUSIC_MIN_S, MUSIC_MAX_S))
        peak, rms = _stats(data)
        if dbfs(peak) >= PEAK_LIMIT_DB:
            raise AssertionError("%s: peak %.2f dBFS, must stay under %.1f dBFS"
                                 % (rel, dbfs(peak), PEAK_LIMIT_DB))
        if dbfs(peak) > MUSIC_MAX_PEAK_DB:
            raise AssertionError("%s: music peak %.2f dBFS is above %.1f dBFS and "
                                 "would bury the effects"
                                 % (rel, dbfs(peak), MUSIC_MAX_PEAK_DB))
        if dbfs(rms) < MUSIC_MIN_RMS_DB:
            raise AssertionError("%s: RMS %.1f dBFS, music is (nearly) silent"
                                 % (rel, dbfs(rms)))
        for c in range(data.shape[1]):
            x = data[:, c]
            dc = abs(float(np.mean(x)))
            if dc > MUSIC_MAX_DC:
                raise AssertionError("%s: DC offset %.4f on channel %d"
                                     % (rel, dc, c))
            ok, jump, median_step, ratio = _seam_ok(x)
            if not ok:
                raise AssertionError(
                    "%s: clicks at the loop point: wrap step %.4f (median step "
                    "%.4f, limit x%.0f), seam prediction error %.2f of the "
                    "loop's worst (limit %.2f)"
                    % (rel, jump, median_step, SEAM_MAX_STEPS, ratio, SEAM_MAX_ERROR))
        rows.append((rel, secs, data.shape[1], dbfs(peak), dbfs(rms)))
        digests.setdefault(hashlib.sha1(data.tobytes()).hexdigest(), []).append(rel)

    dupes = [v for v in digests.values() if len(v) > 1]
    if dupes:
        raise AssertionError("identical audio in %s" % ", ".join(dupes[0]))
    return rows


def format_table(rows):
    lines = ["%-22s %8s %3s %9s %9s" % ("file", "seconds", "ch", "peak dB", "rms dB")]
    for rel, secs, ch, pk, rms in rows:
        lines.append("%-22s %8.3f %3d %9.2f %9.2f" % (rel, secs, ch, pk, rms))
    return "\n".join(lines)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        sys.exit(2)
    print(format_table(check_sounds(sys.argv[1])))
