import re
import unittest

import pyatspi

import desktop as d


class QuickMuscle(unittest.TestCase):
    def test_the_count_box_of_a_short_challenge_comes_over_the_home_screen(self):
        with d.start() as prog:
            home, frame = prog.cut_to_home()
            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="クイックマッスル"))
            seconds = d.wait_until("the seconds box", lambda: d.find(frame, pyatspi.ROLE_COMBO_BOX, "60"))
            d.click_on(d.find(seconds, pyatspi.ROLE_TEXT))
            d.key("ctrl+a")
            d.type_text("3")
            d.key("Return")
            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="開始"))
            with d.another_program() as other:  # the user turns to something else meanwhile
                box, box_frame = prog.dialog("回数入力", timeout=15)
                self.assertEqual(box.transient_for, home)
                self.assertTrue(box.icon() == d.launcher_icon(), "not the launcher's icon")
                d.wait_until("the count box to be active", lambda: box.active, 3)
                self.assertTrue(home.above(other), "the home screen is in front of other programs")
                self.assertTrue(box.above(home))
                (bx, by), (hx, hy) = box.centre, home.centre
                self.assertLess(max(abs(bx - hx), abs(by - hy)), 30, "the box is centred on home")
                d.type_text("12")
                d.key("Return")
            quick = prog.folder / "クイック_腕立て伏せ.txt"
            last = d.wait_until("the attempt to be stored", lambda: d.read_lines(quick)[-1])
            self.assertRegex(last, r'^"\d{4}年\d\d月\d\d日","\d\d時\d\d分\d\d秒",3,12$')
            self.assertEqual(d.read_lines(quick)[:-1], d.read_lines(d.SAMPLE / quick.name))


if __name__ == "__main__":
    unittest.main()
