"""The program's dialogs seen from the window tests: their captions and
control ids, where they are on the screen, switching the driver between
them, and the pointer on them."""
import time

from pointer import centre, xdotool
from vekgui import DriverError

ABOUT, HELP = "About Vek", "Quick help"
IDCANCEL, IDC_QUICK_HELP, IDC_HELP_TEXT = 2, 3, 1009
IDC_FEEDBACK_LINK, IDC_WEB_LINK = 1108, 1109
ABOUT_COMMAND = 16  # the system-menu item "&About Ovek..."


def wait_until(condition, seconds=5.0):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.1)
    return True


def screen_rect(s, cid=0):
    return [int(v) for v in s.ask("screenrect %d" % cid).split()]


def click_on(s, cid):
    x, y = centre(screen_rect(s, cid))
    xdotool(s, "mousemove", x, y, "click", 1)


def open_dialog(s, caption, ms=10000):
    """Waits for the dialog and makes it the driver's window."""
    s.ask("dialog %d %s" % (ms, caption), timeout=ms / 1000 + 10)


def shown(s, caption):
    try:
        open_dialog(s, caption, 0)
        return True
    except DriverError:
        return False


def settle(s):
    """Under Wine without a window manager, a dialog that opened or came back
    without a click lacks the keyboard, and the first click on it after a
    modal box over it has closed only activates it. A click on the dialog's
    face, away from its controls, settles both."""
    left, top, right, bottom = screen_rect(s)
    xdotool(s, "mousemove", left + 4, bottom - 4, "click", 1)
    time.sleep(0.3)


def open_about_from_menu(s, command=ABOUT_COMMAND):
    s.find()
    s.ask("syscommand %d" % command)
    open_dialog(s, ABOUT)
