#!/usr/bin/env python3
"""Synthesises Vespintide's ten sound effects, and checks them.

    make_sounds.py OUTDIR          write the ten .wav files into OUTDIR
    make_sounds.py --check DIR     verify the ten files in DIR and print a
                                   line of figures per file

Every sound is made here from sine waves and filtered noise; nothing is
sampled.  The random generators are seeded per sound, so the output is the
same bytes on every run and does not depend on the order the sounds are made
in.  Python's standard library is all this needs.

The files are 16-bit PCM mono at 22050 Hz, which QSoundEffect plays as it
stands.  Each sound is scaled to a fixed peak well below full scale (so
nothing clips and the effects sit at similar loudness) and given a short
raised-cosine fade at both ends, so playback starts and stops without a
click.
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 22050
FULL_SCALE = 32767

# Limits the check enforces.  The peak limit leaves headroom for the mixer;
# the edge limit is what keeps the start and end of a file from clicking.
PEAK_LIMIT = 0.8
EDGE_LIMIT = 0.01
MIN_PEAK = 0.1          # anything quieter than this is a broken sound
SIZE_LIMIT = 120 * 1024

TWO_PI = 2.0 * math.pi


# ---------------------------------------------------------------- building blocks

def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def mix(into, sound, at_seconds, gain=1.0):
    """Adds sound into the buffer, starting at_seconds in; grows the buffer."""
    start = int(round(at_seconds * RATE))
    end = start + len(sound)
    if end > len(into):
        into.extend([0.0] * (end - len(into)))
    for i, value in enumerate(sound):
        into[start + i] += gain * value


class Biquad:
    """Second-order filter with the usual audio-cookbook coefficients."""

    def __init__(self, kind, freq, q):
        self.x1 = self.x2 = self.y1 = self.y2 = 0.0
        self.kind = kind
        self.q = q
        self.tune(freq)

    def tune(self, freq):
        w0 = TWO_PI * min(freq, 0.45 * RATE) / RATE
        cos_w0 = math.cos(w0)
        alpha = math.sin(w0) / (2.0 * self.q)
        if self.kind == "lowpass":
            b0 = b2 = (1.0 - cos_w0) / 2.0
            b1 = 1.0 - cos_w0
        elif self.kind == "highpass":
            b0 = b2 = (1.0 + cos_w0) / 2.0
            b1 = -(1.0 + cos_w0)
        elif self.kind == "bandpass":  # 0 dB at the centre frequency
            b0, b1, b2 = alpha, 0.0, -alpha
        else:
            raise ValueError(kind)
        a0 = 1.0 + alpha
        self.b0, self.b1, self.b2 = b0 / a0, b1 / a0, b2 / a0
        self.a1, self.a2 = -2.0 * cos_w0 / a0, (1.0 - alpha) / a0

    def step(self, x):
        y = (self.b0 * x + self.b1 * self.x1 + self.b2 * self.x2
             - self.a1 * self.y1 - self.a2 * self.y2)
        self.x2, self.x1 = self.x1, x
        self.y2, self.y1 = self.y1, y
        return y

    def run(self, samples):
        return [self.step(x) for x in samples]


def noise(rng, seconds):
    return [rng.uniform(-1.0, 1.0) for _ in range(int(round(seconds * RATE)))]


def attack_decay(n, attack, decay):
    """Raised-cosine rise over `attack` seconds, then an exponential fall with
    time constant `decay` seconds."""
    rise = max(1, int(attack * RATE))
    env = []
    for i in range(n):
        t = i / RATE
        a = 0.5 - 0.5 * math.cos(math.pi * i / rise) if i < rise else 1.0
        env.append(a * math.exp(-max(0.0, t - attack) / decay))
    return env


def shaped(samples, env):
    return [s * e for s, e in zip(samples, env)]


def tone(freq, seconds, partials=((1, 1.0),), attack=0.005, decay=0.2,
         vibrato=0.0, vibrato_rate=5.0):
    """A soft pitched note: a few sine partials under an attack/decay
    envelope.  `freq` may be a function of time for glides."""
    n = int(round(seconds * RATE))
    env = attack_decay(n, attack, decay)
    pitch = freq if callable(freq) else (lambda t, f=freq: f)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = pitch(t) * (1.0 + vibrato * math.sin(TWO_PI * vibrato_rate * t))
        phase += TWO_PI * f / RATE
        out.append(env[i] * sum(a * math.sin(k * phase) for k, a in partials))
    return out


def card_snap(rng, centre=2400.0, q=0.9, decay=0.012, seconds=0.09, body=0.35):
    """A card slapped down: a short band-limited noise burst with a little
    low thump under it for the table."""
    burst = Biquad("bandpass", centre, q).run(noise(rng, seconds))
    burst = Biquad("lowpass", 6500.0, 0.7).run(burst)
    burst = shaped(burst, attack_decay(len(burst), 0.0015, decay))
    thump = tone(170.0, seconds, attack=0.002, decay=decay * 1.3)
    return [b + body * t for b, t in zip(burst, thump)]


def swish(rng, seconds, start_freq, end_freq, attack, decay, q=1.2):
    """Noise through a band-pass whose centre slides: a card brushing across
    the cloth.  Retunes every 32 samples, which is smooth enough to hear as a
    glide."""
    source = noise(rng, seconds)
    band = Biquad("bandpass", start_freq, q)
    out = []
    for i, x in enumerate(source):
        if i % 32 == 0:
            frac = i / len(source)
            band.tune(start_freq * (end_freq / start_freq) ** frac)
        out.append(band.step(x))
    out = Biquad("lowpass", 7000.0, 0.7).run(out)
    return shaped(out, attack_decay(len(out), attack, decay))


def finish(samples, peak, fade_in=0.003, fade_out=0.012):
    """Scales to the given peak (a fraction of full scale) and fades both
    ends to exactly zero."""
    top = max(abs(s) for s in samples)
    scaled = [s * peak / top for s in samples]
    n = len(scaled)
    fin = max(2, int(fade_in * RATE))
    fout = max(2, int(fade_out * RATE))
    for i in range(fin):
        scaled[i] *= 0.5 - 0.5 * math.cos(math.pi * i / fin)
    for i in range(fout):
        scaled[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fout)
    return scaled


# ---------------------------------------------------------------- the sounds

def make_dealcard(rng):
    return finish(card_snap(rng, centre=2200.0, decay=0.014, seconds=0.11), 0.6)


def make_shuffle(rng):
    # A riffle: a run of quick flicks that speeds up and slows again, over a
    # soft bed of brushing noise, then the deck squared up with one snap.
    out = []
    t = 0.02
    count = 26
    for k in range(count):
        middle = abs(k - count / 2) / (count / 2)      # 1 at the ends, 0 mid-run
        flick = Biquad("bandpass", rng.uniform(2600.0, 4200.0), 1.4).run(noise(rng, 0.025))
        flick = shaped(flick, attack_decay(len(flick), 0.0008, 0.004))
        mix(out, flick, t, rng.uniform(0.55, 1.0))
        t += 0.011 + 0.010 * middle + rng.uniform(-0.002, 0.002)
    bed = swish(rng, t + 0.02, 1800.0, 3200.0, attack=0.08, decay=0.2, q=0.7)
    mix(out, bed, 0.0, 0.35)
    mix(out, card_snap(rng, centre=1500.0, decay=0.018, seconds=0.12, body=0.5), t + 0.03, 1.3)
    return finish(out, 0.6)


def make_fart(rng):
    # A comic raspberry: a buzzy low tone whose pitch sags and wanders, with
    # the sputter of lips that do not quite close, rounded off by a low-pass
    # so that it stays a blurt rather than a rasp.
    seconds = 0.62
    n = int(seconds * RATE)
    wander = 0.0
    phase = 0.0
    raw = []
    for i in range(n):
        t = i / RATE
        if i % 64 == 0:
            wander = 0.85 * wander + rng.uniform(-0.05, 0.05)
        f0 = (118.0 - 40.0 * (t / seconds) ** 1.5) * (1.0 + wander + 0.06 * math.sin(TWO_PI * 9.0 * t))
        phase += TWO_PI * f0 / RATE
        value = 0.0
        k = 1
        while k * f0 < 2000.0:              # band-limited, so no aliasing fizz
            value += math.sin(k * phase) / k ** 0.85
            k += 1
        raw.append(value)
    breath = Biquad("lowpass", 700.0, 0.7).run(noise(rng, seconds))
    raw = [r + 0.5 * b for r, b in zip(raw, breath)]
    raw = Biquad("lowpass", 1100.0, 0.8).run(raw)
    raw = Biquad("highpass", 55.0, 0.7).run(raw)
    # Loudness: a quick onset, two sputtering dips, and a tail that dies out.
    dips = [(0.22, 0.035), (0.38, 0.03)]
    out = []
    for i, r in enumerate(raw):
        t = i / RATE
        env = min(1.0, t / 0.02) * (1.0 if t < 0.42 else math.exp(-(t - 0.42) / 0.07))
        for centre, width in dips:
            env *= 1.0 - 0.75 * math.exp(-((t - centre) / width) ** 2)
        out.append(r * env)
    return finish(out, 0.6, fade_out=0.03)


def make_abort(rng):
    # The card slides home: a soft "bwoop" that falls in pitch.
    seconds = 0.26
    glide = lambda t: 560.0 * (300.0 / 560.0) ** min(1.0, t / 0.18)
    boop = tone(glide, seconds, partials=((1, 1.0), (2, 0.25), (3, 0.08)),
                attack=0.01, decay=0.07)
    return finish(boop, 0.55)


def make_movecard(rng):
    # A rising brush of the card towards the foundation, then a light snap.
    out = swish(rng, 0.1, 1200.0, 4200.0, attack=0.07, decay=0.03)
    mix(out, card_snap(rng, centre=3000.0, decay=0.01, seconds=0.09, body=0.25), 0.085, 1.1)
    return finish(out, 0.55)


def make_undo(rng):
    # The move run backwards: a soft tock as the card lifts, then a brush
    # that falls in pitch.
    out = tone(330.0, 0.08, partials=((1, 1.0), (2, 0.3)), attack=0.002, decay=0.02)
    mix(out, swish(rng, 0.2, 4200.0, 1100.0, attack=0.015, decay=0.06), 0.02, 1.4)
    return finish(out, 0.55)


def bell(freq, seconds, decay):
    return tone(freq, seconds, partials=((1, 1.0), (2, 0.3), (3, 0.12), (4, 0.05)),
                attack=0.006, decay=decay)


def make_wingame(rng):
    # A rising C major arpeggio that lands on the full chord.
    notes = [523.25, 659.26, 783.99, 1046.50]
    out = silence(2.0)
    for k, f in enumerate(notes):
        mix(out, bell(f, 0.6, 0.22), 0.11 * k, 0.5)
    for f in notes:
        mix(out, tone(f, 1.55, partials=((1, 1.0), (2, 0.2), (3, 0.06)),
                      attack=0.01, decay=0.5, vibrato=0.003, vibrato_rate=5.5), 0.45, 0.3)
    mix(out, bell(2093.0, 0.8, 0.3), 0.47, 0.12)      # a glint an octave up
    return finish(out[:int(2.0 * RATE)], 0.65, fade_out=0.25)


def make_clap(rng):
    # Applause: a crowd of people each clapping a little out of step, swelling
    # in and dying away, over the hiss of the claps that blur together.
    def swell(t):
        return min(1.0, t / 0.25) * max(0.0, min(1.0, 1.0 - (t - 1.0) / 0.7))

    out = []
    for _ in range(16):
        period = rng.uniform(0.19, 0.26)
        t = rng.uniform(0.0, 0.15)
        hands = rng.uniform(900.0, 2200.0)
        while swell(t) > 0.0:
            clap = Biquad("bandpass", hands * rng.uniform(0.9, 1.1), 1.1).run(noise(rng, 0.05))
            clap = shaped(clap, attack_decay(len(clap), 0.0007, rng.uniform(0.006, 0.011)))
            mix(out, clap, t, swell(t) * rng.uniform(0.5, 1.0))
            t += period * rng.uniform(0.9, 1.1)
    hiss = Biquad("bandpass", 1500.0, 0.6).run(noise(rng, len(out) / RATE))
    for i, h in enumerate(hiss):
        out[i] += 0.12 * swell(i / RATE) * h
    return finish(out, 0.72, fade_out=0.05)


def make_select(rng):
    # Two soft mallet notes going up.
    out = silence(0.36)
    marimba = ((1, 1.0), (4, 0.12), (10, 0.02))
    mix(out, tone(659.26, 0.25, partials=marimba, attack=0.003, decay=0.07), 0.0)
    mix(out, tone(880.0, 0.29, partials=marimba, attack=0.003, decay=0.09), 0.075)
    return finish(out[:int(0.36 * RATE)], 0.55)


def make_ghost(rng):
    # A wavering "oooo": two slightly detuned voices that swoop up and sag
    # down, with a slow vibrato that deepens and a gentle tremolo.
    seconds = 1.6
    n = int(seconds * RATE)
    phases = [0.0, 0.0]
    detune = [1.0, 2.0 ** (9.0 / 1200.0)]
    # The second voice is quieter so that the beating between them wobbles
    # the sound without ever cancelling it.
    level = [1.0, 0.6]
    out = []
    for i in range(n):
        t = i / RATE
        x = t / seconds
        semitones = 4.0 * math.sin(math.pi * x) - 5.0 * x + (0.3 + 0.6 * x) * math.sin(TWO_PI * 5.2 * t)
        f = 349.23 * 2.0 ** (semitones / 12.0)
        value = 0.0
        for v in range(2):
            phases[v] += TWO_PI * f * detune[v] / RATE
            value += level[v] * (math.sin(phases[v]) + 0.12 * math.sin(2.0 * phases[v]))
        env = min(1.0, t / 0.3) * min(1.0, (seconds - t) / 0.5)
        tremolo = 1.0 - 0.18 * (0.5 + 0.5 * math.sin(TWO_PI * 3.1 * t))
        out.append(value * env * tremolo)
    return finish(out, 0.45, fade_out=0.05)


# Name, how to make it, its own seed, and the length the check accepts.
SOUNDS = [
    ("Shuffle.wav", make_shuffle, 1101, 0.3, 0.9),
    ("Fart.wav", make_fart, 1102, 0.3, 0.9),
    ("Dealcard.wav", make_dealcard, 1103, 0.05, 0.25),
    ("Abort.wav", make_abort, 1104, 0.1, 0.5),
    ("MoveCard.wav", make_movecard, 1105, 0.1, 0.4),
    ("Undo.wav", make_undo, 1106, 0.1, 0.4),
    ("WinGame.wav", make_wingame, 1107, 1.0, 2.5),
    ("Clap.wav", make_clap, 1108, 1.0, 2.6),
    ("Select.wav", make_select, 1109, 0.1, 0.5),
    ("Ghost.wav", make_ghost, 1110, 0.8, 2.2),
]


# ---------------------------------------------------------------- files

def write_wav(path, samples):
    frames = struct.pack("<%dh" % len(samples),
                         *(int(round(s * FULL_SCALE)) for s in samples))
    # Written beside the target and renamed, so an interrupted build never
    # leaves a half-written file that looks up to date.
    temporary = path + ".part"
    with wave.open(temporary, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)
    os.replace(temporary, path)


def check_file(path, min_seconds, max_seconds):
    """Returns (figures, problems) for one file."""
    problems = []
    if not os.path.isfile(path):
        return None, ["missing"]
    size = os.path.getsize(path)
    with open(path, "rb") as f:
        head = f.read(12)
    if head[:4] != b"RIFF" or head[8:12] != b"WAVE":
        return None, ["not a RIFF/WAVE file"]
    try:
        # The wave module reads plain PCM only and rejects any other format.
        with wave.open(path, "rb") as w:
            channels, width, rate, count = (w.getnchannels(), w.getsampwidth(),
                                            w.getframerate(), w.getnframes())
            data = w.readframes(count)
    except (wave.Error, EOFError, struct.error) as error:
        return None, ["unreadable as PCM WAVE (%s)" % error]
    if channels != 1:
        problems.append("%d channels, want mono" % channels)
    if width != 2:
        problems.append("%d-bit samples, want 16-bit" % (8 * width))
    if rate != RATE:
        problems.append("%d Hz, want %d Hz" % (rate, RATE))
    if problems:
        return None, problems
    if count == 0 or len(data) != 2 * count:
        return None, ["no sample data or data shorter than its header says"]

    samples = struct.unpack("<%dh" % count, data)
    seconds = count / rate
    peak = max(abs(s) for s in samples) / FULL_SCALE
    rms = math.sqrt(sum(s * s for s in samples) / count) / FULL_SCALE
    figures = "%6.3f s  peak %.3f FS (%5.1f dBFS)  RMS %.3f FS (%5.1f dBFS)  %6d bytes" % (
        seconds, peak, 20 * math.log10(peak) if peak else -math.inf,
        rms, 20 * math.log10(rms) if rms else -math.inf, size)

    if not min_seconds <= seconds <= max_seconds:
        problems.append("lasts %.3f s, want %.2f-%.2f s" % (seconds, min_seconds, max_seconds))
    if size > SIZE_LIMIT:
        problems.append("%d bytes, want at most %d" % (size, SIZE_LIMIT))
    if peak > PEAK_LIMIT:
        problems.append("peak %.3f of full scale, want at most %.2f (clipping risk)" % (peak, PEAK_LIMIT))
    if peak < MIN_PEAK:
        problems.append("peak %.3f of full scale: (nearly) silent" % peak)
    for where, value in (("first", samples[0]), ("last", samples[-1])):
        if abs(value) > EDGE_LIMIT * FULL_SCALE:
            problems.append("%s sample is %d, want within +-%d (it would click)"
                            % (where, value, int(EDGE_LIMIT * FULL_SCALE)))
    return figures, problems


def check(directory, quiet=False):
    failures = 0
    for name, _make, _seed, low, high in SOUNDS:
        figures, problems = check_file(os.path.join(directory, name), low, high)
        if problems:
            failures += 1
            print("%-13s %sFAIL: %s" % (name, figures + "  " if figures else "", "; ".join(problems)),
                  file=sys.stderr)
        elif not quiet:
            print("%-13s %s  ok" % (name, figures))
    if failures:
        print("%d of %d sound files in %s failed the check" % (failures, len(SOUNDS), directory),
              file=sys.stderr)
    return failures == 0


def generate(directory):
    os.makedirs(directory, exist_ok=True)
    for name, make, seed, _low, _high in SOUNDS:
        write_wav(os.path.join(directory, name), make(random.Random(seed)))
    # A sound that came out wrong should stop the build, not reach a player.
    return check(directory, quiet=True)


def main(argv):
    if len(argv) == 2 and argv[1] != "--check":
        return 0 if generate(argv[1]) else 1
    if len(argv) == 3 and argv[1] == "--check":
        return 0 if check(argv[2]) else 1
    print("usage: %s OUTDIR | --check DIR" % os.path.basename(argv[0]), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
