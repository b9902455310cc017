"""Small synthesis toolkit for Brinegrab's sounds.

Everything works on mono float64 numpy arrays at the mixer's rate (22050 Hz),
nominally in the range -1..1. Oscillators are additive (a handful of
harmonics, faded out before they reach Nyquist) so nothing aliases harshly.
All noise comes from seeded RandomState generators, whose streams numpy keeps
frozen, so every run gives the same samples.
"""
import math
import struct
import wave

import numpy as np

SR = 22050
NYQ = SR / 2.0

# Harmonics fade out between these two frequencies.
_HARM_FULL = 0.36 * SR
_HARM_ZERO = 0.46 * SR


def nsamp(seconds):
    return int(round(seconds * SR))


def timebase(n):
    return np.arange(n, dtype=np.float64) / SR


def midi_to_hz(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


_NOTE_INDEX = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note(name):
    """'C#4' / 'Bb3' / 'A4' -> frequency in Hz."""
    letter = name[0].upper()
    rest = name[1:]
    semis = _NOTE_INDEX[letter]
    while rest and rest[0] in "#b":
        semis += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    octave = int(rest)
    return midi_to_hz(12 * (octave + 1) + semis)


def rng(seed):
    return np.random.RandomState(seed)


# ---------------------------------------------------------------- envelopes

def ramp(n):
    """Raised-cosine 0->1 over n samples."""
    if n <= 0:
        return np.ones(0)
    return 0.5 - 0.5 * np.cos(np.pi * (np.arange(n) + 0.5) / n)


def fade(x, attack=0.003, release=0.01):
    """Smooth the first and last few ms of a sound so it never clicks."""
    x = x.copy()
    a = min(nsamp(attack), len(x) // 2)
    r = min(nsamp(release), len(x) // 2)
    if a:
        x[:a] *= ramp(a)
    if r:
        x[len(x) - r:] *= ramp(r)[::-1]
    return x


def adsr(hold, attack, decay, sustain, release):
    """Note envelope: `hold` seconds of attack/decay/sustain, then a smooth
    release of `release` seconds down to exactly zero. Returns
    nsamp(hold) + nsamp(release) samples."""
    h = max(nsamp(hold), 1)
    r = max(nsamp(release), 1)
    a = max(nsamp(attack), 1)
    t = timebase(h)
    held = sustain + (1.0 - sustain) * np.exp(-np.maximum(t - attack, 0.0)
                                              / max(decay, 1e-6))
    up = ramp(a)
    m = min(a, h)
    held[:m] *= up[:m]
    return np.concatenate([held, held[-1] * ramp(r)[::-1]])


def expdecay(n, tau, attack=0.002):
    env = np.exp(-timebase(n) / tau)
    a = min(nsamp(attack), n)
    if a:
        env[:a] *= ramp(a)
    return env


# -------------------------------------------------------------- oscillators

def _harm_weight(hf):
    return np.clip((_HARM_ZERO - hf) / (_HARM_ZERO - _HARM_FULL), 0.0, 1.0)


def phase_of(freq, n, phase0=0.0):
    """Running phase (radians) of a frequency that may vary per sample."""
    if np.ndim(freq) == 0:
        return phase0 + 2 * np.pi * float(freq) * timebase(n)
    f = np.asarray(freq, dtype=np.float64)[:n]
    ph = np.cumsum(f) * (2 * np.pi / SR)
    return phase0 + ph - ph[0]


def additive(freq, amps, n, phase0=0.0, decays=None):
    """Sum of harmonics 1..len(amps) of freq (scalar or per-sample array).

    amps[i] may be a scalar or a per-sample array. decays, if given, is a
    per-harmonic exponential decay time constant in seconds (None = steady).
    Harmonics approaching Nyquist fade away instead of aliasing."""
    ph = phase_of(freq, n, phase0)
    fmax = np.max(freq) if np.ndim(freq) else float(freq)
    t = timebase(n) if decays is not None else None
    out = np.zeros(n)
    for i, a in enumerate(amps):
        h = i + 1
        if h * fmax * 0.5 >= _HARM_ZERO:
            break
        if np.ndim(a) == 0 and a == 0:
            continue
        if np.ndim(freq):
            w = _harm_weight(h * np.asarray(freq)[:n])
        else:
            w = _harm_weight(h * float(freq))
        part = np.sin(h * ph) * a * w
        if decays is not None and decays[i] is not None:
            part = part * np.exp(-t / decays[i])
        out += part
    return out


def partials(freq, ratios, amps, taus, n):
    """Inharmonic partials (bells, metal): each a decaying sine."""
    t = timebase(n)
    out = np.zeros(n)
    for r, a, tau in zip(ratios, amps, taus):
        f = freq * r
        if f >= _HARM_ZERO:
            continue
        out += a * _harm_weight(f) * np.sin(2 * np.pi * f * t) * np.exp(-t / tau)
    return out


def vibrato(base, n, rate, depth, delay=0.0, onset=0.15):
    """Per-sample frequency around `base` with a delayed sine vibrato
    (depth as a fraction of the frequency)."""
    t = timebase(n)
    grow = np.clip((t - delay) / max(onset, 1e-6), 0.0, 1.0)
    return base * (1.0 + depth * grow * np.sin(2 * np.pi * rate * t))


def glide(f0, f1, n, curve="exp"):
    if curve == "exp":
        return f0 * (f1 / f0) ** np.linspace(0.0, 1.0, n)
    return np.linspace(f0, f1, n)


# ------------------------------------------------------------------- noise

def noise(n, seed):
    return rng(seed).uniform(-1.0, 1.0, n)


def spectral_filter(x, gain_fn):
    """Zero-phase filter by FFT: gain_fn(freqs_hz) -> gain per bin. The
    filter is circular, which is exactly right for loops and harmless on
    stationary noise that gets enveloped afterwards."""
    spectrum = np.fft.rfft(x)
    freqs = np.fft.rfftfreq(len(x), 1.0 / SR)
    spectrum *= gain_fn(freqs)
    return np.fft.irfft(spectrum, len(x))


def lowpass_gain(fc, order=2):
    return lambda f: 1.0 / np.sqrt(1.0 + (f / fc) ** (2 * order))


def highpass_gain(fc, order=2):
    return lambda f: 1.0 / np.sqrt(1.0 + (fc / np.maximum(f, 1e-3)) ** (2 * order))


def bandpass_gain(lo, hi, order=2):
    lp = lowpass_gain(hi, order)
    hp = highpass_gain(lo, order)
    return lambda f: lp(f) * hp(f)


def colored_noise(n, seed, gain_fn):
    x = spectral_filter(noise(n, seed), gain_fn)
    peak = np.max(np.abs(x))
    return x / peak if peak > 0 else x


def svf(x, cutoff, q=0.7, mode="band"):
    """State-variable filter with a cutoff that may change every sample
    (used for sweeping whooshes). Topology-preserving form: stable at any
    cutoff below Nyquist."""
    n = len(x)
    fc = np.clip(np.broadcast_to(np.asarray(cutoff, dtype=np.float64), (n,)),
                 10.0, 0.45 * SR)
    g = np.tan(np.pi * fc / SR)
    k = 1.0 / q
    a1 = 1.0 / (1.0 + g * (g + k))
    a2 = g * a1
    a3 = g * a2
    ic1 = ic2 = 0.0
    xs = x.tolist()
    a1l, a2l, a3l = a1.tolist(), a2.tolist(), a3.tolist()
    low = [0.0] * n
    band = [0.0] * n
    for i in range(n):
        v3 = xs[i] - ic2
        v1 = a1l[i] * ic1 + a2l[i] * v3
        v2 = ic2 + a2l[i] * ic1 + a3l[i] * v3
        ic1 = 2.0 * v1 - ic1
        ic2 = 2.0 * v2 - ic2
        low[i] = v2
        band[i] = v1
    low = np.array(low)
    band = np.array(band)
    if mode == "low":
        return low
    if mode == "band":
        return band
    if mode == "high":
        return x - k * band - low
    raise ValueError("unknown filter mode %r" % mode)


# ------------------------------------------------------------------ mixing

def place(buf, start, sig, gain=1.0):
    """Add sig into buf at sample offset start (clipped to the buffer)."""
    if start >= len(buf):
        return
    end = min(len(buf), start + len(sig))
    buf[start:end] += gain * sig[: end - start]


def soft_clip(x, drive=1.0):
    return np.tanh(drive * x) / np.tanh(drive)


def db_to_amp(db):
    return 10.0 ** (db / 20.0)


def normalize(x, peak_db):
    peak = np.max(np.abs(x))
    if peak <= 0:
        raise ValueError("cannot normalise a silent sound")
    return x * (db_to_amp(peak_db) / peak)


def to_pcm16(x):
    return np.clip(np.round(x * 32767.0), -32767, 32767).astype("<i2")


def write_wav(path, x):
    """Mono 16-bit PCM at SR."""
    data = to_pcm16(x)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(data.tobytes())


def read_wav_header(path):
    """Walk the RIFF chunks and return the fmt fields plus data size, so a
    file that only *looks* like a WAV (wrong format tag, truncated data) is
    caught rather than trusted."""
    with open(path, "rb") as f:
        blob = f.read()
    if len(blob) < 12 or blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        raise ValueError("%s: not a RIFF/WAVE file" % path)
    pos = 12
    fmt = None
    data_size = None
    while pos + 8 <= len(blob):
        cid = blob[pos:pos + 4]
        size = struct.unpack("<I", blob[pos + 4:pos + 8])[0]
        body = blob[pos + 8:pos + 8 + size]
        if cid == b"fmt ":
            if size < 16:
                raise ValueError("%s: fmt chunk too short" % path)
            tag, ch, rate, brate, align, bits = struct.unpack("<HHIIHH", body[:16])
            fmt = dict(tag=tag, channels=ch, rate=rate, byterate=brate,
                       align=align, bits=bits)
        elif cid == b"data":
            data_size = size
            if len(body) < size:
                raise ValueError("%s: data chunk truncated (%d of %d bytes)"
                                 % (path, len(body), size))
        pos += 8 + size + (size & 1)
    if fmt is None:
        raise ValueError("%s: no fmt chunk" % path)
    if data_size is None:
        raise ValueError("%s: no data chunk" % path)
    fmt["data_size"] = data_size
    return fmt


def read_wav(path):
    """-> (float samples as (frames, channels) in -1..1, header dict)."""
    hdr = read_wav_header(path)
    with wave.open(path, "rb") as w:
        frames = w.readframes(w.getnframes())
        ch = w.getnchannels()
    data = np.frombuffer(frames, dtype="<i2").astype(np.float64) / 32768.0
    return data.reshape(-1, ch), hdr


def dbfs(x):
    return 20.0 * math.log10(max(float(x), 1e-12))
