#!/usr/bin/env python3
"""Makes evaluation films whose subtitle timing is known, and the subtitle files to correct.

Each film: sentences spoken by espeak-ng (several voices and speeds) at known times, with pauses
like dialogue, over a bed of plucked-note music and noise at a chosen signal-to-noise ratio, muxed
with a small test picture into Matroska (H.264 + AAC) or AVI (H.264 + MP3). The true SubRip file
is written from the sentence times. Each case derives a subtitle file from the truth: shifted,
optionally made for another frame rate, every time jittered, 10 % of the entries removed and a
few non-speech entries added. Wrong-film cases pair a film with another film's subtitles.

Writes OUT/manifest.tsv, which the evaluation program reads. Standard library only."""
import argparse
import array
import math
import os
import random
import subprocess
import sys
import wave

RATE = 22050
RATES = [23.976, 24.0, 25.0, 29.97, 30.0]
VOICES = ["en-us", "en-gb+f3", "en-gb-scotland+m3", "en-029+f2", "en-gb-x-rp+m5", "en-us+f4"]
WORDS = ("time people year way day man thing woman life child world school state family student "
         "group country problem hand part place case week company system program question work "
         "government number night point home water room mother area money story fact month lot "
         "right study book eye job word business issue side kind head house service friend father "
         "power hour game line end member law car city community name president team minute idea "
         "kid body information back parent face others level office door health person art war "
         "history party result change morning reason research girl guy moment air teacher force "
         "education").split()
VERBS = ("said went knew thought took saw came wanted looked used found gave told worked called "
         "tried asked needed felt became left put meant kept let began seemed helped showed heard "
         "played ran moved liked lived believed brought happened wrote sat stood lost paid met "
         "included continued set learned changed led understood watched followed stopped created "
         "spoke read spent grew opened walked won offered remembered loved considered appeared "
         "bought waited served died sent expected built stayed fell cut reached killed "
         "remained").split()


def run(cmd):
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def sentence(rng):
    n = rng.randint(1, 3)
    parts = []
    for _ in range(n):
        parts.append("the %s %s the %s" % (rng.choice(WORDS), rng.choice(VERBS), rng.choice(WORDS)))
    text = " and ".join(parts)
    return text[0].upper() + text[1:] + rng.choice([".", "?", "!"])


def read_wav(path):
    with wave.open(path, "rb") as w:
        assert w.getframerate() == RATE and w.getnchannels() == 1 and w.getsampwidth() == 2
        samples = array.array("h")
        samples.frombytes(w.readframes(w.getnframes()))
    return samples


def write_wav(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(samples.tobytes())


def voiced_span(samples):
    """First and last sample louder than a small threshold: espeak pads its output with silence."""
    limit = 500
    first = next((i for i, v in enumerate(samples) if abs(v) > limit), 0)
    last = next((i for i in range(len(samples) - 1, -1, -1) if abs(samples[i]) > limit), first)
    return first, last + 1


def srt_time(ms):
    ms = max(0, int(round(ms)))
    return "%02d:%02d:%02d,%03d" % (ms // 3600000, ms // 60000 % 60, ms // 1000 % 60, ms % 1000)


def write_srt(path, entries):
    with open(path, "w", encoding="utf-8") as f:
        for i, (start, end, text) in enumerate(entries, 1):
            f.write("%d\n%s --> %s\n%s\n\n" % (i, srt_time(start), srt_time(end), text))


def write_microdvd(path, entries, fps):
    with open(path, "w", encoding="utf-8") as f:
        for start, end, text in entries:
            f.write("{%d}{%d}%s\n" % (round(start * fps / 1000), round(end * fps / 1000), text))


def make_speech(work, rng, seconds):
    """Returns the speech track and the spoken lines as (start ms, end ms, text)."""
    track = array.array("h", bytes(2 * int(seconds * RATE)))
    lines = []
    t = rng.uniform(2.0, 8.0)
    k = 0
    clip = os.path.join(work, "line.wav")
    while True:
        text = sentence(rng)
        voice = rng.choice(VOICES)
        speed = rng.randint(140, 200)
        run(["espeak-ng", "-v", voice, "-s", str(speed), "-w", clip, text])
        samples = read_wav(clip)
        first, last = voiced_span(samples)
        at = int(t * RATE)
        if at + (last - first) >= len(track) - RATE:
            break
        track[at:at + last - first] = samples[first:last]
        lines.append((1000.0 * at / RATE, 1000.0 * (at + last - first) / RATE, text))
        k += 1
        # Pauses like dialogue: mostly short turns, now and then a scene without words.
        gap = rng.uniform(0.3, 2.5) if rng.random() < 0.8 else rng.uniform(4.0, 25.0)
        t = (at + last - first) / RATE + gap
    return track, lines


def power(samples, spans):
    total = 0
    count = 0
    for a, b in spans:
        for v in samples[a:b]:
            total += v * v
        count += b - a
    return total / max(1, count)


def make_bed(work, rng, seconds):
    notes = ["C3", "E3", "G3", "A3", "D3", "F3", "B2", "C4"]
    parts = []
    for i in range(8):
        p = os.path.join(work, "note%d.wav" % i)
        chord = rng.sample(notes, 3)
        run(["sox", "-n", "-r", str(RATE), "-c", "1", p, "synth", "0.6"] +
            [x for n in chord for x in ("pluck", n)] + ["remix", "-", "norm", "-6"])
        parts.append(p)
    loop = os.path.join(work, "loop.wav")
    run(["sox"] + parts + [loop])
    music = os.path.join(work, "music.wav")
    run(["sox", loop, music, "repeat", str(int(seconds / 4.8) + 1), "trim", "0", str(seconds)])
    noise = os.path.join(work, "noise.wav")
    run(["sox", "-n", "-r", str(RATE), "-c", "1", noise, "synth", str(seconds), "pinknoise",
         "norm", "-12"])
    bed = os.path.join(work, "bed.wav")
    run(["sox", "-m", music, noise, "-b", "16", "-e", "signed", bed, "norm", "-6"])
    return read_wav(bed)


def make_film(out, name, rng, minutes, snr, container, video_fps, size):
    work = os.path.join(out, "work-" + name)
    os.makedirs(work, exist_ok=True)
    seconds = minutes * 60.0
    speech, lines = make_speech(work, rng, seconds)
    bed = make_bed(work, rng, seconds)
    spans = [(int(a * RATE / 1000), int(b * RATE / 1000)) for a, b, _ in lines]
    p_speech = power(speech, spans)
    p_bed = power(bed, [(0, len(bed))])
    gain = math.sqrt(p_speech / max(1.0, p_bed) / (10 ** (snr / 10.0)))
    speech_path = os.path.join(work, "speech.wav")
    write_wav(speech_path, speech)
    mixed = os.path.join(work, "mixed.wav")
    run(["sox", "-m", "-v", "1", speech_path, "-v", "%.6f" % gain, os.path.join(work, "bed.wav"),
         mixed, "gain", "-n", "-1"])
    video = os.path.join(out, name + "." + container)
    audio_codec = ["-c:a", "aac", "-b:a", "96k"] if container == "mkv" else \
                  ["-c:a", "libmp3lame", "-b:a", "96k"]
    run(["nice", "ffmpeg", "-y", "-f", "lavfi", "-i", "testsrc2=s=%s:r=%s" % (size, video_fps),
         "-i", mixed, "-shortest", "-c:v", "libx264", "-preset", "ultrafast", "-g", "250",
         "-pix_fmt", "yuv420p"] + audio_codec + [video])
    truth = os.path.join(out, name + ".truth.srt")
    write_srt(truth, lines)
    for f in os.listdir(work):
        os.remove(os.path.join(work, f))
    os.rmdir(work)
    return video, lines


def derive(lines, rng, shift_ms, from_fps, to_fps):
    """The subtitle file a viewer might find: s = (t - shift) * to / from, jittered, 10 % of the
    entries gone, some non-speech entries in the longer pauses."""
    factor = to_fps / from_fps
    entries = []
    for a, b, text in lines:
        if rng.random() < 0.10:
            continue
        ja, jb = rng.uniform(-150, 150), rng.uniform(-150, 150)
        entries.append(((a + ja - shift_ms) * factor, (b + jb - shift_ms) * factor, text))
    for (a0, b0, _), (a1, b1, _) in zip(lines, lines[1:]):
        if a1 - b0 > 6000 and rng.random() < 0.5:
            mid = (b0 + a1) / 2
            entries.append(((mid - 1500 - shift_ms) * factor, (mid + 1500 - shift_ms) * factor,
                            rng.choice(["[music]", "[door slams]", "\u266a \u266a"])))
    entries = [e for e in entries if e[0] > 0]
    entries.sort()
    return entries


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("out")
    ap.add_argument("--films", type=int, default=4)
    ap.add_argument("--minutes", type=float, default=10)
    ap.add_argument("--max-minutes", type=float, default=0,
                    help="length of the longest film (the issue's full set: 60)")
    ap.add_argument("--cases", type=int, default=6, help="subtitle files to correct per film")
    ap.add_argument("--size", default="160x90")
    ap.add_argument("--seed", type=int, default=18)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    os.makedirs(args.out, exist_ok=True)
    films = []
    for i in range(args.films):
        container = "mkv" if i % 2 == 0 else "avi"
        snr = [20, 10, 5][i % 3]
        video_fps = RATES[i % len(RATES)]
        # Lengths spread evenly from --minutes to --max-minutes.
        top = max(args.minutes, args.max_minutes or args.minutes)
        minutes = args.minutes + (top - args.minutes) * i / max(1, args.films - 1)
        name = "film%02d-%ddB" % (i + 1, snr)
        print("making", name, file=sys.stderr)
        video, lines = make_film(args.out, name, rng, minutes, snr, container, video_fps,
                                 args.size)
        films.append((name, video, video_fps, container, lines))
    pairs = [(a, b) for a in RATES for b in RATES if a != b]
    with open(os.path.join(args.out, "manifest.tsv"), "w") as m:
        m.write("# kind\tvideo\tsubtitle\ttruth\tshift_ms\tfrom_fps\tto_fps\n")
        for name, video, video_fps, container, lines in films:
            truth = os.path.join(args.out, name + ".truth.srt")
            for c in range(args.cases):
                shift = rng.uniform(-90000, 90000)
                if c == 0:
                    from_fps = to_fps = video_fps
                elif container == "avi":
                    # The video's own rate is known: the subtitles were made for another one.
                    from_fps, to_fps = rng.choice([p for p in RATES if p != video_fps]), video_fps
                else:
                    from_fps, to_fps = rng.choice(pairs + [(video_fps, video_fps)])
                entries = derive(lines, rng, shift, from_fps, to_fps)
                sub = os.path.join(args.out, "%s.case%d" % (name, c))
                if container == "avi" and c == 1:
                    sub += ".sub"
                    write_microdvd(sub, entries, video_fps)
                else:
                    sub += ".srt"
                    write_srt(sub, entries)
                m.write("right\t%s\t%s\t%s\t%.1f\t%g\t%g\n" % (video, sub, truth, shift, from_fps,
                                                                to_fps))
            for other in films:
                if other[0] != name:
                    sub = os.path.join(args.out, other[0] + ".truth.srt")
                    m.write("wrong\t%s\t%s\t\t0\t0\t0\n" % (video, sub))


if __name__ == "__main__":
    main()
