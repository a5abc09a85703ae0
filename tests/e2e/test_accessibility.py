"""What a screen reader meets: every control of every screen and panel has a name, and no two
controls on show in one window share one, so that the user can tell them apart by ear."""

import collections
import sys
import time
import unittest

import pyatspi

import desktop as d

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_SCROLL_BAR, pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TREE_TABLE,
}


def audit(frame):
    """(nameless, duplicated): the controls on show without a name, and the names that more than
    one control on show carries, each as a "role: name" text."""
    controls = [a for a in d.walk(frame) if a.getRole() in CONTROLS
                and a.getState().contains(pyatspi.STATE_SHOWING)]
    nameless = [f"{a.getRoleName()} (description: {a.description!r})" for a in controls
                if not a.name.strip()]
    counts = collections.Counter(a.name for a in controls if a.name.strip())
    duplicated = [f"{name} ×{n}" for name, n in sorted(counts.items()) if n > 1]
    return nameless, duplicated


class Accessibility(unittest.TestCase):
    maxDiff = None

    def test_every_control_of_every_screen_and_panel_has_a_name_of_its_own(self):
        findings = {}
        with d.start(play="2,0,5", tour=0) as prog:
            _, frame = prog.screen(d.PROMPT)
            findings["prompt"] = audit(frame)
            d.click_on(d.find(frame, description="全ての項目をカットします"))

            _, frame = prog.screen(d.HOME)
            findings["home: 実施一覧"] = audit(frame)
            for button in PANEL_MARKS:
                d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name=button))
                d.wait_until(f"the {button} panel", lambda: panel_shown(frame, button))
                findings[f"home: {button}"] = audit(frame)

            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="全履歴"))
            _, history = prog.screen(d.HISTORY)
            findings["history"] = audit(history)

        report = []
        for where, (nameless, duplicated) in findings.items():
            print(f"{where}: {len(nameless)} without a name, {len(duplicated)} names used twice",
                  file=sys.stderr)
            report += [f"{where}: no name: {c}" for c in nameless]
            report += [f"{where}: same name: {c}" for c in duplicated]
        self.assertEqual(report, [])


    def test_keys_reach_what_the_mouse_does(self):
        with d.start(play="0,0,5", tour=0) as prog:
            home, frame = prog.cut_to_home()
            overview = tab_to(frame, lambda a: a.getRole() == pyatspi.ROLE_TABLE)
            self.assertEqual(overview.name, "トレーニング項目の実施状況")

            # Tab into an option group lands on the stored mode; → raises the minutes.
            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="編集"))
            option = tab_to(frame, lambda a: a.getRole() == pyatspi.ROLE_RADIO_BUTTON)
            self.assertTrue(option.name.startswith("起動時間固定モード"), option.name)
            tab_to(frame, lambda a: a.getRole() == pyatspi.ROLE_SCROLL_BAR)
            d.key("Right")
            d.wait_until("6分", lambda: d.find(frame, pyatspi.ROLE_LABEL, name="6分"))

            # On the history list, Enter on a cell of 日付 sorts as a double click there does.
            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="全履歴"))
            _, history = prog.screen(d.HISTORY)
            tab_to(history, lambda a: a.getRole() == pyatspi.ROLE_TABLE)
            d.key("Right", "Return")
            d.wait_until("日付 降順", lambda: d.find(history, pyatspi.ROLE_LABEL, name="日付 降順"))
            d.key("Escape")
            d.wait_until("the history screen to close", lambda: prog.screens() == [d.HOME])
            # Input right after a screen closes is taken for the tail of a click on it.
            time.sleep(d.SETTLE)

            # Enter on the second row of the overview trains that item alone.
            files = d.snapshot(prog.folder)
            d.click_on(d.find(frame, pyatspi.ROLE_PUSH_BUTTON, name="実施一覧"))
            tab_to(frame, lambda a: a.getRole() == pyatspi.ROLE_TABLE)
            d.key("Down", "Return")
            _, prompt = prog.screen(d.PROMPT)
            second = d.read_lines(prog.folder / "項目一覧.txt")[1].split(",")[0].strip('"')
            self.assertIsNotNone(d.find(prompt, pyatspi.ROLE_LABEL, name=second))
            self.assertIsNotNone(d.find(prompt, pyatspi.ROLE_PUSH_BUTTON, name="終了"))
            self.assertEqual(d.snapshot(prog.folder), files)


def tab_to(frame, wanted, presses=40):
    """Presses Tab until a control that `wanted` accepts has the focus, and returns it."""
    for _ in range(presses):
        focus = d.wait_until("a focused control", lambda: focused_in(frame), 3)
        if wanted(focus):
            return focus
        d.key("Tab")
    raise AssertionError("Tab never reached the control")


def focused_in(frame):
    # An entry of a list keeps its focused state when the focus leaves the list; only the
    # controls themselves tell where the focus is.
    return next((a for a in d.walk(frame) if a.getRole() in CONTROLS and d.focused(a)), None)


# A control that only the panel has, to know the panel is on show.
PANEL_MARKS = {
    "本日の実績": (pyatspi.ROLE_SCROLL_BAR, None),
    "クイックマッスル": (pyatspi.ROLE_PUSH_BUTTON, "開始"),
    "編集": (pyatspi.ROLE_PUSH_BUTTON, "並び替え"),
}


def panel_shown(frame, button):
    role, name = PANEL_MARKS[button]
    return d.find(frame, role, name=name) is not None


if __name__ == "__main__":
    unittest.main()
