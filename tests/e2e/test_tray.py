import datetime
import sys
import time
import unittest

import pyatspi

import desktop as d

START = "開始 （次のスタンバイ）"
WAITING = "{:%H:%M} にトレーニングを開始します"
TOLD = ("ミトラン", "トレーニングを開始します。")


class TrayWait(unittest.TestCase):
    """A fixed one-minute wait spent as a tray icon runs out while other programs in the same
    tray are started early from it, quit from it, and lose it."""

    def launch(self, prog, tray):
        """Presses 開始; returns the tray icon, the start times the round may be due at, and when
        開始 was pressed."""
        _, frame = prog.cut_to_home()
        before, pressed = datetime.datetime.now(), time.monotonic()
        d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name=START))
        after = datetime.datetime.now()
        icon = d.wait_until("the program's icon in the tray", lambda: tray.icons(prog.pid), 5)
        d.wait_until("the home screen to go", lambda: not prog.windows(), 5)
        time.sleep(d.SETTLE)  # a user sees the icon before clicking it
        self.assertEqual(len(icon), 1)
        self.assertEqual(icon[0].wm_class[0], d.launcher_wm_class())
        _, _, width, height = icon[0].geometry
        self.assertTrue(16 <= width <= 24 and 16 <= height <= 24, (width, height))
        due = {WAITING.format(t + datetime.timedelta(seconds=60)) for t in (before, after)}
        return icon[0], due, pressed

    def comes_up(self, prog, tray, timeout=5.0):
        win = prog.window(timeout=timeout)
        d.wait_until("the prompt to be active", lambda: win.active, 3)
        _, frame = prog.screen(d.PROMPT)
        self.assertEqual(win.title, d.TITLE)
        self.assertTrue(d.focused(d.find(frame, pyatspi.ROLE_SCROLL_BAR)))
        d.wait_until("the tray icon to go", lambda: not tray.icons(prog.pid), 3)
        self.assertEqual(prog.windows(), [win])
        return win

    def choose(self, icon, item):
        """Opens the icon's menu with a right click and chooses an item with the keys; returns the
        menu's items."""
        self.focus.forget()
        d.click(*icon.centre, button=3)
        d.key("Down")
        first = d.wait_until("a menu item to take the focus",
                             lambda: self.focus.latest(pyatspi.ROLE_MENU_ITEM))
        items = [c.name for c in first.parent]
        d.key(*["Down"] * items.index(item), "Return")
        return items

    def test_the_wait_in_the_tray(self):
        known = {n["id"] for n in d.notifications()}
        with d.focus_watch() as self.focus, d.tray() as tray, d.start("0,0,1") as waits:
            icon, due, pressed = self.launch(waits, tray)
            with self.subTest("the icon's tool tip tells when the round starts"):
                d.point_at(*icon.centre)
                tip = d.wait_until("the tool tip", lambda: d.find(
                    d.application(waits.pid), pyatspi.ROLE_TOOL_TIP))
                self.assertIn(tip.name, due)
                d.point_at(640, 600)

            def second_start(prog, icon):
                second = d.Program(prog.folder)
                self.assertEqual(second.exit_status(), 0)

            def from_menu(prog, icon):
                self.assertEqual(self.choose(icon, "今すぐ開始"), ["今すぐ開始", "終了"])

            early = [
                ("今すぐ開始 in the menu", from_menu),
                ("a click", lambda prog, icon: d.click(*icon.centre)),
                ("a double click", lambda prog, icon: d.click(*icon.centre, times=2)),
                ("a second start of the program", second_start),
            ]
            for name, start_now in early:
                with self.subTest(f"{name} starts the round at once"), d.start("0,0,1") as prog:
                    icon, _, _ = self.launch(prog, tray)
                    start_now(prog, icon)
                    self.comes_up(prog, tray)

            with self.subTest("終了 in the menu ends the program"), d.start("0,0,1") as prog:
                icon, _, _ = self.launch(prog, tray)
                files = d.snapshot(prog.folder)
                self.choose(icon, "終了")
                self.assertEqual(prog.exit_status(), 0)
                self.assertEqual(d.snapshot(prog.folder), files)
                self.assertEqual(tray.icons(prog.pid), [])

            self.assertEqual([n for n in d.notifications() if n["id"] not in known], [],
                             "a round started early was told as due")

            with self.subTest("at its end the prompt comes up, told, and the icon goes"):
                waits.window(timeout=75)
                waited = time.monotonic() - pressed
                self.comes_up(waits, tray)
                print(f"\n  fixed, 1 minute, in the tray: waited {waited:.2f} s", file=sys.stderr)
                self.assertTrue(59.5 <= waited <= 61.5, f"waited {waited:.2f} s")
                told = d.wait_until("the notification", lambda: [
                    (n["summary"], n["body"]) for n in d.notifications() if n["id"] not in known], 5)
                self.assertEqual(told, [TOLD])

            with self.subTest("a tray that goes away leaves the prompt iconified"), \
                    d.start("0,0,1") as prog:
                _, due, _ = self.launch(prog, tray)
                tray.stop()
                win = d.wait_until("the prompt to be iconified", lambda: next(
                    (w for w in prog.windows() if w.state == "Iconic"), None), 5)
                self.assertIn(win.title, {t + " - " + d.TITLE for t in due})
                # A restore in the first moments is taken for the window manager's own answer
                # to the iconifying; a user finds the task bar entry later than that.
                time.sleep(2.5)
                win.activate()
                self.comes_up(prog, tray)


if __name__ == "__main__":
    unittest.main()
