"""Drives the real program on the desktop that run.sh prepares.

Windows are read from X properties (xprop, xwininfo), widgets through the accessibility bus
(pyatspi), input goes through xdotool as real key and pointer events, notifications come from
dunst, and data files are read as the bytes on disk. Every wait polls at most every 50 ms and
fails with what it waited for.
"""

import contextlib
import ctypes
import itertools
import json
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

import pyatspi
from gi.repository import GLib

BIN = os.environ.get("MITORAN_BIN", "")
REPO = Path(__file__).resolve().parents[2]
SAMPLE = Path(os.environ.get("MITORAN_SAMPLE", REPO / "sample"))
TMP = Path(os.environ.get("E2E_TMP") or tempfile.mkdtemp(prefix="mitoran-e2e."))
POLL = 0.05
# A user needs a moment to see a new screen before clicking on it; the program may ignore input
# that comes quicker, as the end of a click or key meant for the screen before.
SETTLE = 0.5
TITLE = "ミトラン"
HISTORY_TITLE = "筋トレ実績詳細"


def wait_until(what, probe, timeout=10.0):
    """Polls probe() until it returns something true and returns that; fails after timeout s.
    A probe that raises counts as not yet: windows and widgets come and go while it looks."""
    end = time.monotonic() + timeout
    error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except Exception as e:  # noqa: BLE001
            error = e
        if time.monotonic() > end:
            raise AssertionError(f"waited {timeout} s for {what}" + (f" ({error!r})" if error else ""))
        time.sleep(POLL)


def run(*args, check=True):
    return subprocess.run(args, capture_output=True, text=True, check=check).stdout


# ---- data folder --------------------------------------------------------------------------------


def write_cp932(path, lines):
    Path(path).write_bytes("".join(line + "\r\n" for line in lines).encode("cp932"))


def read_lines(path):
    """The records of a data file, decoded; fails unless every line is CP932 ending in CR LF."""
    data = Path(path).read_bytes()
    assert data == b"" or data.endswith(b"\r\n"), f"{path} does not end in CR LF"
    lines = data.decode("cp932").split("\r\n")[:-1]
    assert not any("\n" in line or "\r" in line for line in lines), f"{path}: a bare CR or LF"
    return lines


def prepare(play="2,0,5", tour=0, goals=False):
    """A fresh data folder copied from the sample data.

    play: the play settings record (launch mode, count mode, interval in minutes);
    tour: the help tour switch; goals: keep the sample's targets, of which one is passed, so that
    the home screen greets with a goal-reached box (otherwise every target is out of reach).
    """
    folder = Path(tempfile.mkdtemp(prefix="data-", dir=TMP))
    shutil.copytree(SAMPLE, folder, dirs_exist_ok=True)
    write_cp932(folder / "プレイ設定.txt", [play])
    write_cp932(folder / "設定.txt", [f'"ヘルプツアー",{tour}'])
    if not goals:
        items = read_lines(folder / "項目一覧.txt")
        write_cp932(folder / "項目一覧.txt", [re.sub(r",\d+$", ",99999", i) for i in items])
    return folder


def snapshot(folder):
    """Every file of a folder with its bytes, to show that nothing wrote to it."""
    return {p.name: p.read_bytes() for p in Path(folder).iterdir() if p.is_file()}


# ---- windows ------------------------------------------------------------------------------------


def xprop(window, name):
    target = ["-root"] if window is None else ["-id", str(window)]
    return run("xprop", *target, "-len", "64", name, check=False)


def _ids(text):
    return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", text.split(":", 1)[-1])]


def active_window():
    ids = _ids(xprop(None, "_NET_ACTIVE_WINDOW"))
    return ids[0] if ids else None


def client_list(stacking=False):
    """Managed windows (mapped or iconified); with stacking, from bottom to top."""
    return _ids(xprop(None, "_NET_CLIENT_LIST_STACKING" if stacking else "_NET_CLIENT_LIST"))


class Window:
    def __init__(self, wid):
        self.id = wid

    def __eq__(self, other):
        return isinstance(other, Window) and other.id == self.id

    def __hash__(self):
        return self.id

    def __repr__(self):
        return f"Window(0x{self.id:x} {self.title!r} {self.state})"

    @property
    def title(self):
        m = re.search(r'= "(.*)"$', xprop(self.id, "_NET_WM_NAME").strip())
        return m.group(1) if m else None

    @property
    def state(self):
        """'Normal', 'Iconic', 'Withdrawn', or None when the window is gone or unmanaged."""
        m = re.search(r"window state: (\w+)", xprop(self.id, "WM_STATE"))
        return m.group(1) if m else None

    @property
    def pid(self):
        m = re.search(r"= (\d+)", xprop(self.id, "_NET_WM_PID"))
        return int(m.group(1)) if m else None

    @property
    def transient_for(self):
        ids = _ids(xprop(self.id, "WM_TRANSIENT_FOR"))
        return Window(ids[0]) if ids else None

    @property
    def wm_class(self):
        """(instance, class) of WM_CLASS, or None."""
        found = re.findall(r'"([^"]*)"', xprop(self.id, "WM_CLASS"))
        return tuple(found) if len(found) == 2 else None

    def icon(self, size=48):
        """The window's icon of that size (_NET_WM_ICON) as ARGB numbers, or None."""
        text = run("xprop", "-id", str(self.id), "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON",
                   check=False)
        numbers = [int(n) for n in re.findall(r"\d+", text.partition("=")[2])]
        while len(numbers) >= 2:
            width, height = numbers[:2]
            if (width, height) == (size, size):
                return numbers[2:2 + width * height]
            numbers = numbers[2 + width * height:]
        return None

    @property
    def active(self):
        return active_window() == self.id

    @property
    def geometry(self):
        """(x, y, width, height) of the client area on the screen."""
        text = run("xwininfo", "-id", str(self.id), check=False)
        v = [int(re.search(rf"{k}:\s+(-?\d+)", text).group(1))
             for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
        return tuple(v)

    @property
    def centre(self):
        x, y, w, h = self.geometry
        return x + w / 2, y + h / 2

    def above(self, other):
        """True when this window is stacked above the other."""
        order = client_list(stacking=True)
        return self.id in order and other.id in order and order.index(self.id) > order.index(other.id)

    def close(self):
        """Closes through the window manager, as the frame's close button does (WM_DELETE_WINDOW)."""
        run("wmctrl", "-i", "-c", hex(self.id))

    def activate(self):
        """Brings the window forward as a task bar click does (also un-iconifies it)."""
        run("wmctrl", "-i", "-a", hex(self.id))


@contextlib.contextmanager
def another_program(geometry="1200x980+40+20"):
    """The user working in another program: a window of xmessage (by default covering nearly the
    whole screen), active while the block runs; yields its Window."""
    proc = subprocess.Popen(["xmessage", "-geometry", geometry, "another program"],
                            stderr=subprocess.DEVNULL)
    try:
        def probe():
            found = [w for w in map(Window, client_list()) if "xmessage" in xprop(w.id, "WM_CLASS")]
            return found[0] if found and found[0].active else None
        yield wait_until("another program's window to be active", probe)
    finally:
        proc.kill()
        proc.wait()


def launcher_wm_class():
    """The StartupWMClass the launcher's desktop entry names."""
    entry = (REPO / "packaging/jp.mitoran.Mitoran.desktop").read_text(encoding="utf-8")
    return re.search(r"^StartupWMClass=(.*)$", entry, re.M).group(1)


def launcher_icon(size=48):
    """The launcher's icon of that size as ARGB numbers, to compare with Window.icon()."""
    png = REPO / f"packaging/icons/hicolor/{size}x{size}/apps/mitoran.png"
    raw = subprocess.run(["convert", str(png), "-depth", "8", "rgba:-"], capture_output=True,
                         check=True).stdout
    return [int.from_bytes(raw[i + 3:i + 4] + raw[i:i + 3], "big") for i in range(0, len(raw), 4)]


def screen_size():
    m = re.search(r"dimensions:\s+(\d+)x(\d+)", run("xdpyinfo"))
    return int(m.group(1)), int(m.group(2))


def screenshot(name):
    """Saves the whole screen as TMP/<name>.png (run.sh keeps TMP when E2E_KEEP is set)."""
    path = TMP / f"{name}.png"
    run("import", "-window", "root", str(path), check=False)
    return path


# ---- input --------------------------------------------------------------------------------------


def key(*keys):
    """Real key presses to the window that has the keyboard focus."""
    run("xdotool", "key", "--delay", "60", *keys)


def type_text(text):
    run("xdotool", "type", "--delay", "60", text)


def click(x, y, times=1, button=1):
    run("xdotool", "mousemove", "--sync", str(int(x)), str(int(y)),
        "click", "--repeat", str(times), "--delay", "120", str(button))


def point_at(x, y):
    run("xdotool", "mousemove", "--sync", str(int(x)), str(int(y)))


# ---- accessibility ------------------------------------------------------------------------------


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away while listed
            continue
    return None


def walk(acc, into_tables=False):
    """acc and its descendants, depth first; tables are not entered unless asked (they are slow)."""
    yield acc
    if not into_tables and acc.getRole() == pyatspi.ROLE_TABLE:
        return
    for child in acc:
        if child is not None:
            yield from walk(child, into_tables)


def tree(acc, into_tables=True):
    """The accessibility tree under acc as nested dicts: role, name, description, states, children."""
    node = {"role": acc.getRoleName(), "name": acc.name, "description": acc.description,
            "states": sorted(pyatspi.stateToString(s) for s in acc.getState().getStates())}
    if into_tables or acc.getRole() != pyatspi.ROLE_TABLE:
        node["children"] = [tree(c, into_tables) for c in acc if c is not None]
    return node


def find(acc, role=None, name=None, description=None, showing=True, into_tables=False):
    """The first descendant matching every given criterion (role: a pyatspi ROLE_ constant)."""
    for a in walk(acc, into_tables):
        if ((role is None or a.getRole() == role) and (name is None or a.name == name)
                and (description is None or a.description == description)
                and (not showing or a.getState().contains(pyatspi.STATE_SHOWING))):
            return a
    return None


def focused(acc):
    return acc.getState().contains(pyatspi.STATE_FOCUSED)


def centre_of(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width / 2, e.y + e.height / 2


def click_on(acc, times=1):
    click(*centre_of(acc), times=times)


class FocusWatch:
    """Every accessible that gains the focus while it listens, oldest first. Popup menus are not
    in an application's accessible tree: their items are seen only as they take the focus."""

    def __init__(self):
        self.seen = []
        pyatspi.Registry.registerEventListener(self._on, "object:state-changed:focused")

    def _on(self, event):
        if event.detail1:
            self.seen.append(event.source)

    def _pump(self):
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass

    def forget(self):
        """Forgets what took the focus so far."""
        self._pump()
        self.seen.clear()

    def latest(self, role):
        """The last accessible of that role to take the focus, or None."""
        self._pump()
        found = [a for a in self.seen if a.getRole() == role]
        return found[-1] if found else None

    def close(self):
        pyatspi.Registry.deregisterEventListener(self._on, "object:state-changed:focused")


@contextlib.contextmanager
def focus_watch():
    """A FocusWatch while the block runs. Programs learn of a new listener only after a while:
    start it well before the focus changes it is to see."""
    watch = FocusWatch()
    try:
        yield watch
    finally:
        watch.close()


# ---- the program --------------------------------------------------------------------------------

_numbers = itertools.count(1)
PROMPT, HOME, HISTORY = "prompt", "home", "history"


class Program:
    """The real program started in a data folder, as a user starts it (the folder is its
    working folder)."""

    def __init__(self, folder):
        self.folder = Path(folder)
        self.log = TMP / f"mitoran-{next(_numbers)}.log"
        with open(self.log, "w") as log:
            self.proc = subprocess.Popen([BIN], cwd=self.folder, stdout=log,
                                         stderr=subprocess.STDOUT)
        self.pid = self.proc.pid
        self._seen = {}  # window id: when a screen was first seen

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()

    def exit_status(self, timeout=5.0):
        """Waits for the program to end and returns its exit status."""
        return self.proc.wait(timeout)

    @property
    def running(self):
        return self.proc.poll() is None

    def windows(self):
        """The program's windows the window manager holds (mapped or iconified)."""
        return [w for w in map(Window, client_list()) if w.pid == self.pid]

    def frames(self):
        """The accessible frames and dialogs of the program that are on screen."""
        app = application(self.pid)
        if app is None:
            return []
        return [f for f in app if f is not None
                and f.getState().contains(pyatspi.STATE_SHOWING)]

    def screen_kind(self, frame):
        if frame.name == HISTORY_TITLE:
            return HISTORY
        if find(frame, pyatspi.ROLE_PUSH_BUTTON, name="全履歴"):
            return HOME
        if find(frame, pyatspi.ROLE_SCROLL_BAR) and find(frame, description="全ての項目をカットします"):
            return PROMPT
        return None

    def screens(self):
        """The kinds of the screens on show, for example [HOME, HISTORY]."""
        return sorted(k for k in map(self.screen_kind, self.frames()) if k)

    def screen(self, kind, timeout=10.0):
        """Waits until the screen of that kind (PROMPT, HOME, HISTORY) shows; returns (its X
        window, its accessible frame) once a user would have seen it: SETTLE s after it came up."""
        def probe():
            for f in self.frames():
                if self.screen_kind(f) == kind:
                    w = self.window_of(f)
                    if w:
                        return w, f
            return None
        found = wait_until(f"the {kind} screen of the program", probe, timeout)
        seen = self._seen.setdefault(found[0].id, time.monotonic())
        time.sleep(max(0.0, seen + SETTLE - time.monotonic()))
        return found

    def cut_to_home(self):
        """Ends the first round with ✂ and returns the home screen as (X window, frame)."""
        _, frame = self.screen(PROMPT)
        click_on(find(frame, description="全ての項目をカットします"))
        return self.screen(HOME)

    def window_of(self, frame):
        """The X window whose client area the accessible frame covers."""
        e = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        for w in self.windows():
            x, y, width, height = w.geometry
            if abs(x - e.x) <= 2 and abs(y - e.y) <= 2 and (width, height) == (e.width, e.height):
                return w
        return None

    def window(self, title=TITLE, state="Normal", timeout=10.0):
        """Waits until exactly one window of the program has that title and state."""
        def probe():
            found = [w for w in self.windows() if w.title == title and w.state == state]
            return found[0] if len(found) == 1 else None
        return wait_until(f"one {state} window titled {title}", probe, timeout)

    def dialog(self, title, timeout=10.0):
        """Waits for a message or input box of the program; returns (its X window, its frame)."""
        def probe():
            for f in self.frames():
                if f.name == title:
                    w = self.window_of(f)
                    if w:
                        return w, f
            return None
        return wait_until(f"a box titled {title}", probe, timeout)


def start(play="2,0,5", tour=0, goals=False, folder=None):
    """Starts the program in a fresh folder prepared from the sample data (or in the given one)."""
    return Program(folder or prepare(play, tour, goals))


# ---- system tray --------------------------------------------------------------------------------

_x11 = None


def tray_owner():
    """The window that holds the system tray selection of the screen (_NET_SYSTEM_TRAY_S0), or 0.
    Asked of the X server directly: no command line tool reads a selection's owner."""
    global _x11
    if _x11 is None:
        _x11 = ctypes.CDLL("libX11.so.6")
        _x11.XOpenDisplay.restype = ctypes.c_void_p
        _x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        _x11.XInternAtom.restype = ctypes.c_ulong
        _x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        _x11.XGetSelectionOwner.restype = ctypes.c_ulong
        _x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        _x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = _x11.XOpenDisplay(None)
    try:
        return _x11.XGetSelectionOwner(display, _x11.XInternAtom(display, b"_NET_SYSTEM_TRAY_S0", 0))
    finally:
        _x11.XCloseDisplay(display)


class Tray:
    """A system tray of its own (trayer, XEmbed): a 24-pixel bar at the top right of the screen
    that grows with its icons. Programs see it once it owns the tray selection."""

    def __init__(self):
        self.proc = subprocess.Popen(
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
             "--height", "24"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_until("the tray to own the system tray selection", tray_owner)
            self.window = wait_until("the tray's window", lambda: next(
                (w for w in map(Window, client_list()) if (w.wm_class or ("",))[-1] == "trayer"),
                None))
        except AssertionError:
            self.proc.kill()
            raise

    def icons(self, pid):
        """The windows of that program embedded and shown in the tray."""
        text = run("xwininfo", "-id", str(self.window.id), "-tree", check=False)
        found = map(Window, (int(i, 16) for i in re.findall(r"^\s+(0x[0-9a-f]+)", text, re.M)))
        return [w for w in found if w.pid == pid and "IsViewable" in run(
            "xwininfo", "-id", str(w.id), check=False)]

    def stop(self):
        """Ends the tray, as a panel that crashes or is quit; waits until the selection is free."""
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        wait_until("the tray selection to be free", lambda: not tray_owner())


@contextlib.contextmanager
def tray():
    """A system tray while the block runs (the session has none otherwise); yields the Tray."""
    t = Tray()
    try:
        yield t
    finally:
        t.stop()


# ---- notifications and sound --------------------------------------------------------------------


def notifications():
    """Every notification dunst received so far, oldest first, as dicts (summary, body, appname,
    timestamp: dunst's monotonic clock in microseconds, comparable with time.monotonic())."""
    run("dunstctl", "close-all")
    raw = json.loads(run("dunstctl", "history"))["data"][0]
    found = [{k: v["data"] for k, v in n.items()} for n in raw]
    return sorted(found, key=lambda n: n["id"])


@contextlib.contextmanager
def recording(wav):
    """Records what the program plays (the null sink's monitor) into a WAV file while the block
    runs."""
    rec = subprocess.Popen(["parecord", "--device=null.monitor", "--file-format=wav", str(wav)])
    try:
        time.sleep(0.3)  # the stream must be connected before the sound starts
        yield Path(wav)
    finally:
        rec.send_signal(signal.SIGINT)
        rec.wait(5)
