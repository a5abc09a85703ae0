import unittest

import pyatspi

import desktop as d


class Smoke(unittest.TestCase):
    def test_starts_on_the_prompt_and_ends_from_the_home_screen(self):
        with d.start() as prog:
            win, frame = prog.screen(d.PROMPT)
            self.assertEqual((win.title, win.state), (d.TITLE, "Normal"))
            d.click_on(d.find(frame, description="全ての項目をカットします"))
            home, frame = prog.screen(d.HOME)
            self.assertEqual(home.title, d.TITLE)
            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="終了"))
            self.assertEqual(prog.exit_status(), 0)


if __name__ == "__main__":
    unittest.main()
