"""The real pointer of the virtual display: moving and clicking it with
xdotool, and reading the cursor it shows through the XFixes extension
(ctypes, so no helper needs building)."""
import ctypes
import ctypes.util
import subprocess


def xdotool(session, *args):
    """Runs one xdotool command line on the session's display."""
    subprocess.run(["xdotool"] + [str(a) for a in args], env=session.env, check=True, timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def centre(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


class _CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def cursor_shape(session):
    """(width, height, hot x, hot y) of the cursor the display shows now."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(session.env["DISPLAY"].encode())
    if not display:
        raise OSError("cannot open display " + session.env["DISPLAY"])
    try:
        image = xfixes.XFixesGetCursorImage(display)
        if not image:
            return None
        shape = (image.contents.width, image.contents.height, image.contents.xhot, image.contents.yhot)
        x11.XFree(image)
        return shape
    finally:
        x11.XCloseDisplay(display)
