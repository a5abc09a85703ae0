import datetime
import re
import time
import unittest

import pyatspi

import desktop as d

RECORD = re.compile(r'^"(\d{4})年(\d\d)月(\d\d)日","(\d\d)時(\d\d)分(\d\d)秒",(\d+)$')


def recorded_at(line):
    """The time and count of a history record as written by the program."""
    m = RECORD.match(line)
    assert m, f"not a history record: {line!r}"
    return datetime.datetime(*map(int, m.groups()[:6])), int(m.group(7))


class Round(unittest.TestCase):
    def test_a_whole_round_by_keyboard_appends_one_record_per_item(self):
        # item, keys pressed on its prompt, count recorded (the instructed counts are 20, 30, 25,
        # 15 and 5)
        rounds = [("腕立て伏せ", ["Right"], 21), ("腹筋", ["Left", "Left"], 28),
                  ("スクワット", ["Prior"], 35), ("背筋", ["Next"], 5), ("懸垂", [], 5)]
        with d.start() as prog:
            win, frame = prog.screen(d.PROMPT)
            before = {name: d.read_lines(prog.folder / f"{name}.txt") for name, _, _ in rounds}
            d.wait_until("the prompt to be active", lambda: win.active)
            time.sleep(1)  # keys right after the prompt comes up are not taken
            begin = datetime.datetime.now().replace(microsecond=0)
            for name, keys, _ in rounds:
                d.wait_until(f"{name} on the prompt", lambda: d.find(frame, pyatspi.ROLE_LABEL, name))
                d.key(*keys, "Return")
            prog.screen(d.HOME)
            end = datetime.datetime.now()
            self.assertEqual(win.state, None, "the prompt window is gone")
            for name, _, count in rounds:
                lines = d.read_lines(prog.folder / f"{name}.txt")
                self.assertEqual(lines[:-1], before[name], name)
                at, recorded = recorded_at(lines[-1])
                self.assertEqual(recorded, count, name)
                self.assertTrue(begin <= at <= end, f"{name} recorded at {at}")

    def test_keys_right_after_the_prompt_comes_up_do_nothing_but_a_click_works(self):
        with d.start() as prog:
            def active_prompt():
                return next((w for w in prog.windows() if w.active), None)
            win = d.wait_until("the prompt to come up active", active_prompt)
            d.key("Return")  # typed for another program just as the prompt came up
            _, frame = prog.screen(d.PROMPT)
            history = prog.folder / "腕立て伏せ.txt"
            before = d.read_lines(d.SAMPLE / history.name)
            time.sleep(1)
            self.assertEqual(len(d.read_lines(history)), len(before), "an early Enter recorded a set")
            self.assertTrue(d.find(frame, pyatspi.ROLE_LABEL, "腕立て伏せ"))
            with d.another_program():
                # The click that brings the prompt back works at once.
                d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="次へ"))
                d.wait_until("the click on 次へ to record the set",
                             lambda: len(d.read_lines(history)) == len(before) + 1)
            self.assertTrue(win.active)


if __name__ == "__main__":
    unittest.main()
