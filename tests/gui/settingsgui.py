"""Window-test helpers for the settings, root-server menu, sizing and saving
tests: a Session with the driver's registry, placement, menu and save-dialog
commands. Each case runs in a prefix of its script's own, and starts from an
empty settings store."""
import functools
import os
import signal
import struct
import subprocess
import sys

import vekgui
from vekgui import IDC_SERVER, IDC_TARGET, IDC_TCP_LOOKUP, IDC_WINSOCK_LOOKUP, escape, unescape

OPTIONS_KEY = r"software\Corvane\Vek\Options"
RECT_KEY = r"Software\Corvane\Ombrix\Ovek"
RECT_VALUE = "Window position"
REG_SZ, REG_BINARY, REG_DWORD = 1, 3, 4

# Flags of SetWindowPos.
SWP_NOSIZE, SWP_NOMOVE, SWP_NOCOPYBITS, SWP_STATECHANGED = 0x1, 0x2, 0x100, 0x8000


def dword(value):
    return struct.pack("<i", value)


def rect_bytes(left, top, right, bottom):
    return struct.pack("<4i", left, top, right, bottom)


# A name server that takes the connection and answers nothing, for a lookup
# that stays busy until the test interrupts it or ends (bounded to 60 s).
SILENT_SERVER = r"""
import socket, sys, time
listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind((sys.argv[1], 53))
listener.listen(1)
print("ready", flush=True)
listener.settimeout(60)
connection, _ = listener.accept()
time.sleep(60)
"""


class SettingsSession(vekgui.Session):
    # -- registry (HKEY_CURRENT_USER of the session's prefix) --------------
    def reg_get(self, key, name):
        """(type, bytes) of a value, or None when it is missing."""
        self.start_driver()
        try:
            kind, _, hexbytes = self.ask("regget %s %s" % (key, name)).partition(" ")
        except vekgui.DriverError:
            return None
        return int(kind), bytes.fromhex(hexbytes)

    def reg_set(self, key, name, kind, data):
        self.start_driver()
        self.ask("regset %s %d %s %s" % (key, kind, data.hex() or "-", name))

    def reg_clear(self):
        """An empty settings store: neither the options nor the rectangle."""
        self.start_driver()
        self.ask("regdel " + OPTIONS_KEY)
        self.ask("regdel " + RECT_KEY)

    def option(self, name):
        """An option as the program stored it: an int for a DWORD, else a
        (type, bytes) pair; None when missing."""
        value = self.reg_get(OPTIONS_KEY, name)
        if value and value[0] == REG_DWORD and len(value[1]) == 4:
            return struct.unpack("<i", value[1])[0]
        return value

    def stored_rect(self):
        value = self.reg_get(RECT_KEY, RECT_VALUE)
        return value and value[1]

    def snapshot(self):
        """Every stored setting, for comparing before and after."""
        names = ["Type", "Recursive", "Detailed errors", "DNS server"]
        return [self.reg_get(OPTIONS_KEY, n) for n in names] + [self.reg_get(RECT_KEY, RECT_VALUE)]

    # -- the program's life -------------------------------------------------
    def run_vek(self):
        """Starts vek.exe and waits for its window."""
        self.start_vek()
        self.find()

    def close_vek(self):
        """Closes the window through its close message and waits for the end."""
        self.close()
        self.gone()
        assert self.vek_exited(20), "vek.exe did not end"

    def start_busy_lookup(self, host):
        """Starts a TCP lookup against a silent server on VEK_TEST_NET + host
        (".81") and waits until the window is busy; returns the server."""
        address = vekgui.test_net() + host
        server = self.keep(subprocess.Popen([sys.executable, "-c", SILENT_SERVER, address],
                                            stdout=subprocess.PIPE))
        assert server.stdout.readline().strip() == b"ready"
        self.settext(IDC_TARGET, "busy.example")
        self.settext(IDC_SERVER, address)
        self.click(IDC_TCP_LOOKUP)
        self.wait_enabled(IDC_WINSOCK_LOOKUP, want=False)
        return server

    # -- placement ----------------------------------------------------------
    def screen_rect(self, cid=0):
        """Outer rectangle in screen pixels (0: the window): [left, top, right, bottom]."""
        return [int(v) for v in self.ask("screenrect %d" % cid).split()]

    def set_pos(self, x, y, cx, cy, flags=0):
        """SetWindowPos on the window; returns the rectangle it then has."""
        return [int(v) for v in self.ask("setpos %d %d %d %d %d" % (x, y, cx, cy, flags)).split()]

    def pos_changing(self, x, y, cx, cy, flags):
        """The position-changing message alone; returns the record as the
        window left it: [x, y, cx, cy, flags]."""
        return [int(v) for v in self.ask("poschanging %d %d %d %d %d" % (x, y, cx, cy, flags)).split()]

    def show(self, how):
        self.ask("show " + how)

    def state(self):
        return self.ask("state")

    def work_area(self):
        return [int(v) for v in self.ask("workarea").split()]

    # -- fields ---------------------------------------------------------------
    def checked(self, cid):
        return int(self.ask("checked %d" % cid))

    def set_check(self, cid, state):
        self.ask("setcheck %d %d" % (cid, state))

    # -- the root-server menu -----------------------------------------------
    def popup_rect(self, ms=10000):
        return [int(v) for v in self.ask("popup %d" % ms, timeout=ms / 1000 + 10).split()]

    def popup_key(self, key, ms=10000):
        self.ask("popupkey %d %s" % (ms, key), timeout=ms / 1000 + 10)

    # -- the save dialog --------------------------------------------------------
    def save_dialog(self, ms=20000):
        """(proposed name, [file types], selected type) of the open save dialog."""
        name, types, selected = self.ask("savedialog %d" % ms, timeout=ms / 1000 + 10).split("|")
        return unescape(name), unescape(types).split("\n"), int(selected)

    def save_file(self, path, ms=20000):
        self.ask("savefile %d %s" % (ms, escape(path)), timeout=ms / 1000 + 10)

    def save_cancel(self, ms=20000):
        self.ask("savecancel %d" % ms, timeout=ms / 1000 + 10)

    def confirm(self, answer, ms=20000):
        """Answers the overwrite question; returns its text."""
        return unescape(self.ask("confirm %d %s" % (ms, answer), timeout=ms / 1000 + 10))

    def save_gone(self, ms=20000):
        self.ask("savegone %d" % ms, timeout=ms / 1000 + 10)

    def lock_file(self, path):
        self.ask("lockfile " + escape(path))

    def unlock_file(self):
        self.ask("unlockfile")


def wine_path(path):
    """The Windows name of a Linux path (Wine's Z: drive)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main_for(name, offset, cases):
    """Runs the cases, each in a fresh session that starts from an empty
    settings store, in one prefix of the script's own (made for the first)."""
    signal.signal(signal.SIGTERM, lambda *a: sys.exit(1))

    def fresh():
        own = os.environ.get("VEK_GUI_PREFIX")
        session = SettingsSession.from_args(name, offset, private_prefix=not own)
        os.environ["VEK_GUI_PREFIX"] = session.env["WINEPREFIX"]
        return session

    def from_empty_store(case):
        @functools.wraps(case)
        def run(s):
            s.reg_clear()
            case(s)
        return run

    vekgui.run_cases(fresh, [from_empty_store(c) for c in cases])
