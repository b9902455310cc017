"""Instrument voices for the music loops and the fanfare.

Each function returns one note (or drum hit) as a float array that starts and
ends at zero: every note has its own attack and release ramps, so notes can be
dropped anywhere in a mix without clicks. `dur` is how long the note is held
in seconds; the returned sound is longer by the release/ring time.
"""
import numpy as np

from synth import (additive, adsr, colored_noise, bandpass_gain, expdecay,
                   fade, highpass_gain, lowpass_gain, nsamp, partials, timebase,
                   vibrato)


def accordion(freq, dur, vel=1.0, release=0.07):
    """Free-reed squeezebox: two reeds a few cents apart (the 'wet' musette
    beating), bright but with a soft bellows attack."""
    env = adsr(dur, 0.025, 0.25, 0.8, release)
    n = len(env)
    amps = [1.0, 0.75, 0.6, 0.5, 0.38, 0.3, 0.24, 0.18, 0.13, 0.1, 0.07, 0.05]
    a = additive(freq * 0.9977, amps, n)
    b = additive(freq * 1.0023, amps, n, phase0=1.3)
    return vel * 0.22 * env * (a + b)


def fiddle(freq, dur, vel=1.0, attack=0.045, release=0.12, vib_depth=0.005,
           vib_rate=5.6, vib_delay=0.12, seed=0):
    """Bowed string: sawtooth-like harmonics with a body resonance bump,
    delayed vibrato and a whisper of bow noise."""
    env = adsr(dur, attack, 0.3, 0.85, release)
    n = len(env)
    f = vibrato(freq, n, vib_rate, vib_depth, delay=vib_delay, onset=0.2)
    amps = []
    for h in range(1, 16):
        hf = h * freq
        body = 1.0 + 0.8 * np.exp(-((hf - 2800.0) / 900.0) ** 2)  # bridge hill
        amps.append(body / h)
    tone = additive(f, amps, n)
    bow = colored_noise(n, 1000 + seed, bandpass_gain(2000, 6000)) * 0.04
    return vel * 0.2 * env * (tone + bow)


def pluck_bass(freq, dur, vel=1.0):
    """Plucked low string: bright attack whose upper harmonics die first,
    damped when the note ends."""
    ring = min(dur, 1.2)
    n_hold = nsamp(ring)
    n_rel = nsamp(0.06)
    n = n_hold + n_rel
    amps = [1.0, 0.55, 0.4, 0.25, 0.18, 0.12, 0.08, 0.05]
    taus = [0.9, 0.45, 0.28, 0.2, 0.15, 0.11, 0.08, 0.06]
    x = additive(freq, amps, n, decays=taus)
    env = np.ones(n)
    env[:nsamp(0.004)] = np.linspace(0, 1, nsamp(0.004))
    env[n_hold:] = np.linspace(1, 0, n_rel)
    return vel * 0.45 * env * x


def cello(freq, dur, vel=1.0, release=0.1):
    """Short bowed low string for the driving ostinato."""
    env = adsr(dur, 0.012, 0.12, 0.55, release)
    n = len(env)
    amps = [1.0, 0.6, 0.42, 0.3, 0.22, 0.15, 0.1, 0.07, 0.05]
    return vel * 0.35 * env * additive(freq, amps, n)


def brass(freq, dur, vel=1.0, release=0.12, vib=0.0):
    """Horn/trumpet: harmonics that brighten as the note swells (upper
    harmonics follow a higher power of the envelope)."""
    env = adsr(dur, 0.04, 0.18, 0.8, release)
    n = len(env)
    f = vibrato(freq, n, 5.2, vib, delay=0.25, onset=0.3) if vib else freq
    # slight pitch scoop at the start, like a lip settling
    scoop = 1.0 - 0.015 * np.exp(-timebase(n) / 0.02)
    f = f * scoop
    amps = []
    for h in range(1, 13):
        amps.append((1.0 / h ** 0.7) * env ** (1.0 + 0.45 * (h - 1)))
    return vel * 0.3 * additive(f, amps, n)


def bell(freq, vel=1.0, length=0.6):
    """Small bright bell / glockenspiel bar."""
    n = nsamp(length)
    x = partials(freq, [1.0, 2.0, 2.76, 4.07, 5.4],
                 [1.0, 0.25, 0.45, 0.15, 0.2],
                 [0.35, 0.2, 0.12, 0.08, 0.05], n)
    return vel * 0.35 * fade(x, 0.001, 0.02)


def string_pad(freq, dur, vel=1.0, attack=0.5, release=0.9, seed=0):
    """Soft string section: three detuned voices, dark harmonic roll-off."""
    env = adsr(dur, attack, 1.0, 1.0, release)
    n = len(env)
    amps = [1.0 / h ** 1.4 for h in range(1, 10)]
    out = np.zeros(n)
    for i, cents in enumerate((-7.0, 0.0, 6.0)):
        f = vibrato(freq * 2 ** (cents / 1200.0), n, 4.6 + 0.7 * i, 0.003)
        out += additive(f, amps, n, phase0=1.7 * i + seed)
    return vel * 0.12 * env * out


def whistle(freq, dur, vel=1.0, seed=0):
    """Pennywhistle/flute: almost pure, breathy."""
    env = adsr(dur, 0.05, 0.4, 0.8, 0.15)
    n = len(env)
    f = vibrato(freq, n, 5.0, 0.006, delay=0.2, onset=0.3)
    tone = additive(f, [1.0, 0.12, 0.06, 0.02], n)
    breath = colored_noise(n, 2000 + seed, bandpass_gain(freq * 0.8, freq * 3)) * 0.08
    return vel * 0.3 * env * (tone + breath)


# -------------------------------------------------------------- percussion

def kick(vel=1.0, seed=1):
    n = nsamp(0.35)
    t = timebase(n)
    f = 45.0 + 85.0 * np.exp(-t / 0.03)
    body = additive(f, [1.0, 0.1], n) * expdecay(n, 0.14, 0.001)
    click = colored_noise(n, seed, lowpass_gain(2500)) * expdecay(n, 0.006, 0.0005)
    return vel * 0.8 * fade(body + 0.25 * click, 0.0005, 0.03)


def snare(vel=1.0, seed=2, tau=0.09):
    n = nsamp(0.28)
    t = timebase(n)
    rattle = colored_noise(n, seed, bandpass_gain(1200, 7000)) * expdecay(n, tau, 0.0008)
    drumhead = (np.sin(2 * np.pi * 190 * t) + 0.5 * np.sin(2 * np.pi * 330 * t)) \
        * expdecay(n, 0.045, 0.0008)
    return vel * 0.5 * fade(0.8 * rattle + 0.5 * drumhead, 0.0005, 0.03)


def hat(vel=1.0, seed=3, tau=0.022, length=0.09):
    n = nsamp(length)
    x = colored_noise(n, seed, highpass_gain(6500, 3)) * expdecay(n, tau, 0.0005)
    return vel * 0.3 * fade(x, 0.0005, 0.01)


def bodhran(vel=1.0, seed=4, pitch=78.0):
    """Frame drum: a low boomy skin with a soft beater thud."""
    n = nsamp(0.45)
    t = timebase(n)
    f = pitch * (1.0 + 0.25 * np.exp(-t / 0.02))
    skin = additive(f, [1.0, 0.3, 0.12], n) * expdecay(n, 0.16, 0.001)
    thud = colored_noise(n, seed, bandpass_gain(80, 900)) * expdecay(n, 0.02, 0.001)
    return vel * 0.7 * fade(skin + 0.5 * thud, 0.0005, 0.03)


def tambourine(vel=1.0, seed=5):
    """Jingles: bright noise plus a few metallic zils, slightly smeared
    (two quick strikes) like a shaken hand tambourine."""
    n = nsamp(0.2)
    t = timebase(n)
    hiss = colored_noise(n, seed, highpass_gain(5000, 2))
    zils = (np.sin(2 * np.pi * 5230 * t) + 0.7 * np.sin(2 * np.pi * 7140 * t)
            + 0.5 * np.sin(2 * np.pi * 8610 * t))
    x = (hiss + 0.25 * zils)
    env = expdecay(n, 0.06, 0.002)
    d = nsamp(0.012)
    env2 = np.zeros(n)
    env2[d:] = 0.6 * expdecay(n - d, 0.05, 0.002)
    return vel * 0.18 * fade(x * (env + env2), 0.0005, 0.02)


def shaker(vel=1.0, seed=6):
    """Soft brush/shaker swish."""
    n = nsamp(0.16)
    t = timebase(n)
    env = np.sin(np.pi * np.clip(t / 0.16, 0, 1)) ** 2 * np.exp(-t / 0.07)
    x = colored_noise(n, seed, bandpass_gain(3000, 8000))
    return vel * 0.15 * x * env


def timpani(freq, vel=1.0, seed=7, length=1.8):
    """Kettle drum: slightly inharmonic modes, long soft decay."""
    n = nsamp(length)
    t = timebase(n)
    f = freq * (1.0 + 0.03 * np.exp(-t / 0.05))
    body = np.zeros(n)
    for r, a, tau in ((1.0, 1.0, 0.7), (1.5, 0.45, 0.45), (1.99, 0.25, 0.3),
                      (2.44, 0.12, 0.2)):
        body += a * additive(f * r, [1.0], n) * np.exp(-t / tau)
    mallet = colored_noise(n, seed, bandpass_gain(100, 1200)) * expdecay(n, 0.015, 0.001)
    return vel * 0.5 * fade((body + 0.4 * mallet) * expdecay(n, 10.0, 0.004), 0.001, 0.2)
