import os
import signal
import unittest

import desktop as d


class OneProgramPerFolder(unittest.TestCase):
    def test_a_second_start_brings_the_first_forward_and_ends(self):
        with d.start() as first:
            home, _ = first.cut_to_home()
            with d.another_program() as other:
                files = d.snapshot(first.folder)
                second = d.Program(first.folder)
                seen = set()
                d.wait_until("the second program to end",
                             lambda: seen.update(second.windows()) or not second.running, 5)
                self.assertEqual(second.exit_status(), 0)
                self.assertEqual(seen, set(), "the second program showed a window")
                d.wait_until("the first program's home screen to come forward", lambda: home.active)
                self.assertTrue(home.above(other))
            self.assertEqual(d.snapshot(first.folder), files)

    def test_a_lock_left_by_a_killed_program_does_not_block_the_next_start(self):
        with d.start() as killed:
            killed.screen(d.PROMPT)
            os.kill(killed.pid, signal.SIGKILL)
            killed.proc.wait()
            self.assertTrue((killed.folder / ".mitoran.lock").exists(), "no lock was left behind")
            with d.Program(killed.folder) as again:
                win, _ = again.screen(d.PROMPT)
                self.assertEqual(win.state, "Normal")


if __name__ == "__main__":
    unittest.main()
