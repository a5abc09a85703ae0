import array
import contextlib
import os
import signal
import subprocess
import time
import unittest
import wave

import pyatspi

import desktop as d

LATENCY_MS = 30
SECONDS = 7  # long enough for the five last seconds to sound apart from the green lamp
# What the listener hears, in order, with the pitch of each tone (Hz).
EXPECTED = ([("red", 880), ("yellow", 880), ("green", 1760)] + [("countdown", 1000)] * 5
            + [("count box", 660), ("saved", 1320)])


@contextlib.contextmanager
def recording(wav):
    """Records the null sink's monitor while the block runs. A low latency makes the null sink mix
    in small blocks, as a sound card does: with the default two-second blocks, a short stream that
    comes and goes between two of them is never mixed at all."""
    rec = subprocess.Popen(["parecord", "--device=null.monitor", "--file-format=wav",
                            f"--latency-msec={LATENCY_MS}", str(wav)])
    try:
        # Under way once a tenth of a second has reached the file.
        d.wait_until("the recording", lambda: wav.exists() and wav.stat().st_size > 20000)
        yield
    finally:
        rec.send_signal(signal.SIGINT)
        rec.wait(5)


def bursts(path, window_s=0.005, threshold=0.05, gap_s=0.05):
    """Tone bursts in a recording: (onset s, length s, pitch Hz) from an RMS envelope, the pitch
    by zero crossings of the first channel."""
    with wave.open(str(path)) as w:
        rate, channels = w.getframerate(), w.getnchannels()
        assert w.getsampwidth() == 2, "expected 16-bit samples"
        samples = array.array("h", w.readframes(w.getnframes()))[::channels]
    step = max(1, int(rate * window_s))
    loud = []
    for start in range(0, len(samples) - step + 1, step):
        chunk = samples[start:start + step]
        rms = (sum(v * v for v in chunk) / step) ** 0.5 / 32768
        loud.append(rms > threshold)
    found, i = [], 0
    while i < len(loud):
        if not loud[i]:
            i += 1
            continue
        end = i
        # A short dip inside a tone is part of it.
        while end < len(loud) and any(loud[end:end + max(1, int(gap_s / window_s))]):
            end += 1
        part = samples[i * step:end * step]
        signs = [v > 0 for v in part if v != 0]
        crossings = sum(1 for a, b in zip(signs, signs[1:]) if a != b)
        length = (end - i) * step / rate
        found.append((i * step / rate, length, crossings / 2 / length))
        i = end
    return found


def open_challenge(prog, seconds):
    """From the first start to the Quick Muscle panel with the seconds typed in; the start
    button."""
    _, frame = prog.cut_to_home()
    d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="クイックマッスル"))
    start = d.wait_until("the start button", lambda: d.find(
        frame, pyatspi.ROLE_PUSH_BUTTON, name="開始"))
    combo = [c for c in d.walk(frame) if c.getRole() == pyatspi.ROLE_COMBO_BOX
             and c.getState().contains(pyatspi.STATE_SHOWING)][1]
    d.click_on(combo)
    d.key("ctrl+a")
    d.type_text(str(seconds))
    d.key("Return")
    time.sleep(2.0)  # the sounds are made a moment after the home screen comes up
    return start


class Sound(unittest.TestCase):
    def test_the_challenge_sounds_its_signal_last_seconds_and_count_box(self):
        with d.start() as prog:
            start = open_challenge(prog, SECONDS)
            wav = d.TMP / "challenge.wav"
            with recording(wav):
                recording_began = time.monotonic()
                d.click_on(start)
                clicked = time.monotonic() - recording_began
                prog.dialog("回数入力", timeout=SECONDS + 8)
                box_seen = time.monotonic() - recording_began
                time.sleep(1.0)  # the count box's tone
                d.type_text("20")
                d.key("Return")
                time.sleep(0.8)  # the saved attempt's tone
                recording_ended = time.monotonic() - recording_began
            self.assertEqual(prog.log.read_text(), "")

        found = bursts(wav)
        with wave.open(str(wav)) as w:
            recorded = w.getnframes() / w.getframerate()
        print(f"\nstart clicked at {clicked:.3f} s, count box seen at {box_seen:.3f} s, "
              f"recording stopped at {recording_ended:.3f} s of the wall clock; "
              f"{recorded:.3f} s recorded")
        previous = None
        for (onset, length, pitch), (cue, _) in zip(found, EXPECTED + [("?", 0)] * len(found)):
            gap = "" if previous is None else f", {onset - previous:.3f} s after the one before"
            print(f"  {cue:>9}: at {onset:.3f} s, {length * 1000:.0f} ms, {pitch:.0f} Hz{gap}")
            previous = onset
        self.assertEqual(len(found), len(EXPECTED), "tone bursts on the sound server")
        for (onset, _, pitch), (cue, hz) in zip(found, EXPECTED):
            self.assertAlmostEqual(pitch, hz, delta=hz * 0.05, msg=cue)
        # The signal and the last seconds come a second apart; the count box follows the last
        # second's tone by a second.
        onsets = [b[0] for b in found]
        for n in list(range(1, 3)) + list(range(4, 9)):
            self.assertAlmostEqual(onsets[n] - onsets[n - 1], 1.0, delta=0.25,
                                   msg=f"{EXPECTED[n - 1][0]} to {EXPECTED[n][0]}")
        self.assertAlmostEqual(onsets[3] - onsets[2], SECONDS - 5, delta=0.25)


    def test_without_a_sound_server_the_challenge_goes_on_and_says_so_once(self):
        os.environ["PULSE_SERVER"] = "unix:/nonexistent"
        try:
            prog = d.start()
        finally:
            del os.environ["PULSE_SERVER"]
        with prog:
            d.click_on(open_challenge(prog, 1))
            _, box = prog.dialog("回数入力", timeout=10)
            d.key("Escape")
            d.click_on(d.find(prog.screen(d.HOME)[1], pyatspi.ROLE_PUSH_BUTTON, name="開始"))
            prog.dialog("回数入力", timeout=10)
            told = prog.log.read_text().splitlines()
            self.assertEqual(len(told), 1, told)
            self.assertIn("system bell", told[0])


if __name__ == "__main__":
    unittest.main()
