import time
import unittest

import pyatspi

import desktop as d

CUT = "全ての項目をカットします"


def button(frame, name):
    return d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name=name)


class Windows(unittest.TestCase):
    def looks_right(self, win, title, what):
        """A screen as a desktop expects it: titled, with the program's icon, centred."""
        with self.subTest(f"{what}: title and icon"):
            self.assertEqual(win.title, title)
            self.assertTrue(win.icon() == d.launcher_icon(), "not the launcher's icon")
            # Docks match a window to its launcher by this name.
            self.assertEqual(win.wm_class[0], d.launcher_wm_class())
        with self.subTest(f"{what}: centred"):
            (x, y), (w, h) = win.centre, d.screen_size()
            self.assertLess(max(abs(x - w / 2), abs(y - h / 2)), 40, f"not centred: {win.geometry}")

    def test_screens_hand_over_and_close_by_their_frames(self):
        with d.start() as prog:
            prompt, _ = prog.screen(d.PROMPT)
            self.looks_right(prompt, d.TITLE, "prompt")
            prompt.close()
            home, frame = prog.screen(d.HOME)
            self.assertIsNone(prompt.state, "closing the prompt by its frame leaves it")
            self.looks_right(home, d.TITLE, "home")

            d.click_on(button(frame, "全履歴"))
            history, _ = prog.screen(d.HISTORY)
            self.looks_right(history, d.HISTORY_TITLE, "history")
            history.close()
            d.wait_until("the history screen to close", lambda: history.state is None)
            self.assertEqual(prog.windows(), [home])
            time.sleep(d.SETTLE)  # the pointer goes from the closed window to the home screen

            d.click_on(button(frame, "開始 （次のスタンバイ）"))  # direct mode: at once
            prompt, frame = prog.screen(d.PROMPT, timeout=3)
            self.assertEqual((prompt.state, home.state), ("Normal", None))
            d.click_on(d.find(frame, description=CUT), times=2)
            time.sleep(1.5)
            with self.subTest("a double click on ✂ ends the round once"):
                self.assertEqual(prog.screens(), [d.HOME])
            if prog.screens() == [d.PROMPT]:  # a round that should not have started
                d.click_on(d.find(prog.screen(d.PROMPT)[1], description=CUT))
            home, frame = prog.screen(d.HOME)

            d.click_on(button(frame, "開始 （次のスタンバイ）"))
            prompt, frame = prog.screen(d.PROMPT)
            with self.subTest("the next round is a full one"):
                self.assertTrue(button(frame, "次へ"), "a single-item round started")
            d.click_on(d.find(frame, description=CUT))

            home, frame = prog.screen(d.HOME)
            table = d.find(frame, pyatspi.ROLE_TABLE)
            d.click_on(d.find(table, pyatspi.ROLE_TABLE_CELL, "腹筋", into_tables=True), times=2)
            prompt, frame = prog.screen(d.PROMPT)
            self.looks_right(prompt, d.TITLE, "the single-item prompt")
            self.assertTrue(button(frame, "終了"))
            history = prog.folder / "腹筋.txt"
            time.sleep(1)
            d.key("Return")
            home, _ = prog.screen(d.HOME)
            self.assertEqual(len(d.read_lines(history)), len(d.read_lines(d.SAMPLE / history.name)) + 1)

            home.close()
            self.assertEqual(prog.exit_status(), 0)


if __name__ == "__main__":
    unittest.main()
