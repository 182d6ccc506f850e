#!/usr/bin/env python3
"""Note-mode evaluation: writes small MIDI pieces (several instruments and
registers), renders them with fluidsynth and the GM sound font, runs
note_frames over them and reports, per piece, frame-level precision, recall,
F1, octave errors (lit keys that are not sounding but an octave or two from a
sounding one, as a share of lit keys) and chord accuracy (root and quality, on
moments where the true notes make a triad or seventh chord). Only moments at
least 150 ms from every note's start and end are counted.

Figures (KeyMode 1, N = 8192; P, R, F1, octave errors % of lit keys, chords):
  piano chords + melody   0.94 0.80 0.87  4.2  0.77
  low piano line          0.72 0.98 0.83  1.3   -
  nylon guitar arpeggios  0.95 0.87 0.91  0.0  0.88
  strings over bass       0.92 0.78 0.84  4.9  0.77
  flute over piano        0.93 0.89 0.91  5.2  0.87
  all                     0.92 0.84 0.88  3.8  0.82

Held out (the same pieces, --shift -2 --other: two semitones down on a
bright piano, steel guitar, slow strings over an electric bass, a clarinet):
  all                     0.86 0.74 0.80  5.7  0.76
Check a change against it too, so the constants do not fit these renderings alone.

usage: /usr/bin/python3 bench/notes/evaluate.py build/bench/note_frames [WORKDIR]
       [--shift SEMITONES] [--other]
(needs the Debian packages fluidsynth, fluid-soundfont-gm and python3-mido;
not part of CI)
"""
import os
import subprocess
import sys

import mido

RATE = 44100
TPB = 480
BPM = 100
SEC_PER_BEAT = 60.0 / BPM
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
GUARD = 0.150

# Progressions as (bass, chord tones) in MIDI keys.
PROGRESSION = [
    (48, [60, 64, 67]),        # C
    (45, [57, 60, 64]),        # Am
    (41, [57, 60, 65]),        # F
    (43, [55, 59, 62, 65]),    # G7
    (41, [57, 60, 64, 65]),    # Fmaj7
    (40, [55, 59, 64]),        # Em
    (50, [57, 62, 65]),        # Dm
    (43, [55, 59, 62]),        # G
]


def piece_piano_chords():
    notes = []  # (start beat, length beats, key, channel)
    melody = [72, 76, 79, 77, 76, 74, 72, 71, 69, 72, 74, 76, 77, 79, 74, 71]
    for i, (bass, chord) in enumerate(PROGRESSION):
        t = 4 * i
        for k in chord:
            notes.append((t, 4, k, 0))
        notes.append((t, 2, melody[2 * i], 0))
        notes.append((t + 2, 2, melody[2 * i + 1], 0))
    return {0: 0}, notes


def piece_low_piano():
    line = [36, 38, 40, 41, 43, 45, 47, 48, 45, 41, 43, 36, 31, 33, 35, 28]
    return {0: 0}, [(2 * i, 2, k, 0) for i, k in enumerate(line)]


def piece_guitar_arpeggios():
    notes = []
    for i, (bass, chord) in enumerate(PROGRESSION):
        t = 4 * i
        tones = [bass + 12] + chord
        for j, k in enumerate(tones):
            notes.append((t + 0.5 * j, 4 - 0.5 * j, k, 0))
    return {0: 24}, notes


def piece_strings_bass():
    notes = []
    for i, (bass, chord) in enumerate(PROGRESSION):
        t = 4 * i
        for k in chord:
            notes.append((t, 4, k, 0))
        notes.append((t, 2, bass - 12, 1))
        notes.append((t + 2, 2, bass - 12 + 7, 1))
    return {0: 48, 1: 32}, notes


def piece_flute_piano():
    notes = []
    melody = [79, 81, 84, 83, 81, 79, 77, 76, 74, 77, 81, 79, 77, 76, 74, 79]
    for i, (bass, chord) in enumerate(PROGRESSION):
        t = 4 * i
        for k in chord:
            notes.append((t, 4, k - 12 if k >= 60 else k, 1))
        notes.append((t, 2, melody[2 * i], 0))
        notes.append((t + 2, 2, melody[2 * i + 1], 0))
    return {0: 73, 1: 0}, notes


PIECES = [
    ("piano chords + melody", piece_piano_chords),
    ("low piano line", piece_low_piano),
    ("nylon guitar arpeggios", piece_guitar_arpeggios),
    ("strings over bass", piece_strings_bass),
    ("flute over piano", piece_flute_piano),
]


def write_midi(path, programs, notes):
    mid = mido.MidiFile(ticks_per_beat=TPB)
    track = mido.MidiTrack()
    mid.tracks.append(track)
    track.append(mido.MetaMessage("set_tempo", tempo=mido.bpm2tempo(BPM)))
    for ch, prog in programs.items():
        track.append(mido.Message("program_change", channel=ch, program=prog, time=0))
    events = []
    for start, length, key, ch in notes:
        # A hair short of the next note, so a repeated key restarts cleanly.
        events.append((round(start * TPB), 1, key, ch))
        events.append((round((start + length) * TPB) - 10, 0, key, ch))
    events.sort(key=lambda e: (e[0], e[1]))
    now = 0
    for tick, on, key, ch in events:
        kind = "note_on" if on else "note_off"
        track.append(mido.Message(kind, channel=ch, note=key, velocity=90 if on else 0,
                                  time=tick - now))
        now = tick
    mid.save(path)


def truth_frames(notes):
    """Positions every 50 ms with the sounding keys, kept only when 150 ms from every edge."""
    spans = [(s * SEC_PER_BEAT, (s + l) * SEC_PER_BEAT - 10 / TPB * SEC_PER_BEAT, k)
             for s, l, k, _ in notes]
    edges = sorted({e for s, t, _ in spans for e in (s, t)})
    end = max(t for _, t, _ in spans)
    frames = []
    t = 0.3
    while t < end:
        if all(abs(t - e) >= GUARD for e in edges):
            keys = sorted({k for s, e, k in spans if s <= t < e})
            frames.append((int(t * RATE), keys))
        t += 0.05
    return frames


def chord_core(name):
    return name.split("/")[0]


# --other: each GM program swapped for a neighbour of the same family.
OTHER_PROGRAMS = {0: 1, 24: 25, 48: 49, 32: 33, 73: 71}


def main():
    args = sys.argv[1:]
    other = "--other" in args
    args = [a for a in args if a != "--other"]
    shift = 0
    if "--shift" in args:
        at = args.index("--shift")
        shift = int(args[at + 1])
        del args[at:at + 2]
    runner = args[0]
    work = args[1] if len(args) > 1 else "/tmp/velkaris-notes"
    os.makedirs(work, exist_ok=True)
    total = [0, 0, 0, 0, 0, 0]
    print(f"{'piece':26} {'P':>5} {'R':>5} {'F1':>5} {'oct%':>5} {'chord':>6} frames")
    for name, make in PIECES:
        programs, notes = make()
        if other:
            programs = {ch: OTHER_PROGRAMS.get(p, p) for ch, p in programs.items()}
        notes = [(start, length, key + shift, ch) for start, length, key, ch in notes]
        base = os.path.join(work, name.split()[0] + "_" + name.split()[1])
        write_midi(base + ".mid", programs, notes)
        subprocess.run(["fluidsynth", "-ni", "-g", "0.6", "-r", str(RATE), "-T", "raw",
                        "-F", base + ".raw", SOUNDFONT, base + ".mid"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        frames = truth_frames(notes)
        with open(base + ".frames", "w") as f:
            for pos, keys in frames:
                f.write(f"{pos} {' '.join(map(str, keys))}\n")
        out = subprocess.run([runner, base + ".raw", base + ".frames"], check=True,
                             capture_output=True, text=True).stdout.splitlines()
        tp = fp = fn = octave = chords = chords_right = 0
        for (pos, keys), line in zip(frames, out):
            lit_text, chord, true_chord = [x.strip() for x in line.split("|")]
            lit = set(map(int, lit_text.split()))
            truth = set(keys)
            tp += len(lit & truth)
            fp += len(lit - truth)
            fn += len(truth - lit)
            octave += sum(1 for k in lit - truth
                          if any(k + d in truth for d in (-24, -12, 12, 24)))
            if true_chord:
                chords += 1
                chords_right += chord_core(chord) == chord_core(true_chord)
        p = tp / max(1, tp + fp)
        r = tp / max(1, tp + fn)
        f1 = 2 * p * r / max(1e-9, p + r)
        oc = octave / max(1, tp + fp)
        ca = chords_right / chords if chords else float("nan")
        print(f"{name:26} {p:5.2f} {r:5.2f} {f1:5.2f} {100 * oc:5.1f} {ca:6.2f} {len(frames)}")
        for i, v in enumerate((tp, fp, fn, octave, chords, chords_right)):
            total[i] += v
    tp, fp, fn, octave, chords, chords_right = total
    p = tp / max(1, tp + fp)
    r = tp / max(1, tp + fn)
    print(f"{'all':26} {p:5.2f} {r:5.2f} {2 * p * r / max(1e-9, p + r):5.2f} "
          f"{100 * octave / max(1, tp + fp):5.1f} {chords_right / max(1, chords):6.2f}")


if __name__ == "__main__":
    main()
