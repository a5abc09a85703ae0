import unittest

import pyatspi

import desktop as d


class Restore(unittest.TestCase):
    def test_a_cleared_history_comes_back_through_the_restore_dialog(self):
        with d.start() as prog:
            home, frame = prog.cut_to_home()
            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="編集"))
            history = prog.folder / "腕立て伏せ.txt"
            before = history.read_bytes()
            records = len(d.read_lines(history))

            def answer(title):
                """Enter on the box's default button, OK; returns the window the box belonged to."""
                box, _ = prog.dialog(title)
                d.wait_until(f"{title} to be active", lambda: box.active, 3)
                owner = box.transient_for
                d.key("Return")
                d.wait_until(f"{title} to close", lambda: box.state is None, 3)
                return owner

            clear = d.wait_until("the edit panel", lambda: d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="個別クリア"))
            d.click_on(clear)
            answer("クリア確認")
            answer("クリア終了")
            self.assertEqual(history.read_bytes(), b"")

            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="バックアップから復元"))
            dialog, dialog_frame = prog.dialog("バックアップから復元")
            self.assertEqual(dialog.transient_for, home)
            table = d.find(dialog_frame, pyatspi.ROLE_TABLE, name="バックアップの一覧")
            cells = [c.name for c in d.walk(table, into_tables=True)]
            self.assertIn("実績履歴", cells)
            self.assertIn(f"{records}件", cells)
            d.wait_until("the dialog to be active", lambda: dialog.active, 3)
            d.key("alt+r")  # the newest copy is chosen already
            self.assertEqual(answer("復元確認"), dialog)
            answer("復元終了")
            self.assertEqual(history.read_bytes(), before)


if __name__ == "__main__":
    unittest.main()
