import contextlib
import datetime
import sys
import time
import unittest

import pyatspi

import desktop as d

CUT = "全ての項目をカットします"
WAITING = "{:%H:%M} にトレーニングを開始します - ミトラン"


class LaunchWait(unittest.TestCase):
    """Three programs wait out one delay side by side: random mode with an interval of one
    minute, fixed mode of one minute, and a fixed wait that the user cuts short by restoring the
    prompt and finishing the round."""

    def to_home(self, prog):
        _, frame = prog.screen(d.PROMPT)
        d.click_on(d.find(frame, description=CUT))
        return prog.screen(d.HOME)

    def launch(self, prog):
        """Presses 開始 on the home screen; returns the prompt window and when it was pressed."""
        home, frame = self.to_home(prog)
        before, pressed = datetime.datetime.now(), time.monotonic()
        d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="開始 （次のスタンバイ）"))
        after = datetime.datetime.now()
        d.wait_until("the home screen to close", lambda: home.state is None, 5)
        win = d.wait_until("the prompt window", lambda: (prog.windows() or [None])[0], 5)
        with self.subTest("the prompt waits iconified, titled with its start time"):
            d.wait_until("the prompt to be iconified", lambda: win.state == "Iconic", 5)
            starts = {WAITING.format(t + datetime.timedelta(seconds=60)) for t in (before, after)}
            self.assertIn(win.title, starts)
            self.assertEqual(prog.windows(), [win])
        return win, pressed

    def comes_up(self, prog, win, pressed):
        """Waits for the end of the delay; returns how long it was and when the prompt came up."""
        d.wait_until("the prompt to come up", lambda: win.state == "Normal", 75)
        shown = time.monotonic()
        with self.subTest("the prompt comes up in front, the count bar focused"):
            d.wait_until("the prompt to be active", lambda: win.active, 3)
            self.assertEqual(win.title, d.TITLE)
            _, frame = prog.screen(d.PROMPT)
            self.assertTrue(d.focused(d.find(frame, pyatspi.ROLE_SCROLL_BAR)))
        return shown - pressed, shown

    def test_the_wait_keeps_out_of_the_way_and_its_end_reaches_the_user(self):
        known = {n["id"] for n in d.notifications()}
        with contextlib.ExitStack() as programs:
            rnd = programs.enter_context(d.start("1,0,1"))
            rnd_win, rnd_pressed = self.launch(rnd)

            early = programs.enter_context(d.start("0,0,1"))
            early_win, early_pressed = self.launch(early)
            early_win.activate()  # the user restores it at once and does one set
            d.wait_until("the restored prompt", lambda: early_win.active and early_win.state == "Normal")
            history = early.folder / "腕立て伏せ.txt"
            sets = len(d.read_lines(history))
            time.sleep(1)
            d.key("Return")
            d.wait_until("the set to be recorded", lambda: len(d.read_lines(history)) == sets + 1)
            _, frame = early.screen(d.PROMPT)
            d.click_on(d.find(frame, description=CUT))
            early_home, _ = early.screen(d.HOME)

            fixed = programs.enter_context(d.start("0,0,1"))
            fixed_win, fixed_pressed = self.launch(fixed)

            waited, rnd_shown = self.comes_up(rnd, rnd_win, rnd_pressed)
            print(f"\n  random, interval 1: waited {waited:.2f} s", file=sys.stderr)
            with self.subTest("random mode with an interval of 1 waits 60 s"):
                self.assertTrue(59.5 <= waited <= 61.0, f"waited {waited:.2f} s")

            d.wait_until("the end of the restored wait", lambda: time.monotonic() > early_pressed + 62, 70)
            with self.subTest("a wait cut short does nothing at its end"):
                self.assertEqual(early.windows(), [early_home])
                self.assertEqual(early_home.state, "Normal")
                self.assertEqual(len(d.read_lines(history)), sets + 1)

            waited, _ = self.comes_up(fixed, fixed_win, fixed_pressed)
            print(f"  fixed, 1 minute: waited {waited:.2f} s", file=sys.stderr)
            with self.subTest("fixed mode of 1 minute waits 60 s"):
                self.assertTrue(59.5 <= waited <= 61.0, f"waited {waited:.2f} s")

            told = [n for n in d.notifications() if n["id"] not in known]
            if told:
                late = told[0]["timestamp"] / 1e6 - rnd_shown
                print(f"  the first notification came {late:+.2f} s after the prompt", file=sys.stderr)
            self.assertEqual([(n["summary"], n["body"]) for n in told],
                             [("ミトラン", "トレーニングを開始します。")] * 2)


if __name__ == "__main__":
    unittest.main()
