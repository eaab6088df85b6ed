#!/usr/bin/python3
"""Prints a checksum of the mouse pointer's image as the X display shows it
now, so that a test can tell one pointer from another (the arrow, the busy
pointer) whatever program set it. Needs libXfixes."""

import ctypes
import ctypes.util
import hashlib
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong),
                ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def main():
    xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes"))
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(None)
    if not display:
        print("no X display", file=sys.stderr)
        return 1
    image = xfixes.XFixesGetCursorImage(display).contents
    count = image.width * image.height
    pixels = bytes(b"".join(int(image.pixels[i] & 0xFFFFFFFF).to_bytes(4, "little") for i in range(count)))
    print(hashlib.sha1(pixels + bytes([image.xhot, image.yhot])).hexdigest()[:16])
    return 0


if __name__ == "__main__":
    sys.exit(main())
