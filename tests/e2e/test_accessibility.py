"""What a screen reader meets: every control of every screen and panel has a name, and no two
controls on show in one window share one, so that the user can tell them apart by ear."""

import collections
import sys
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
