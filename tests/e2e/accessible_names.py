#!/usr/bin/python3
"""Prints the accessible role and name of every object of a running
application, as a screen reader finds them through AT-SPI, one per line:
"role: name". Usage: accessible_names.py APPLICATION_NAME"""

import sys
import time

import pyatspi


def walk(node, depth=0):
    if depth > 20:
        return
    try:
        print(f"{node.getRoleName()}: {node.name}")
        for child in node:
            walk(child, depth + 1)
    except Exception:  # an object gone while it was read
        pass


def main():
    wanted = sys.argv[1]
    for _ in range(50):
        desktop = pyatspi.Registry.getDesktop(0)
        for application in desktop:
            if application is not None and application.name == wanted:
                walk(application)
                return 0
        time.sleep(0.2)
    print(f"no application named {wanted} on the accessibility bus", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
