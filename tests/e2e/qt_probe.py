#!/usr/bin/python3
"""Reads the running Qt window as a screen reader does, through AT-SPI, and
prints it in the same words as the Windows program's probe:
  qt_probe.py focus           the control that has the keyboard focus
                              (Text1, Text2, Toolbar1, Toolbar2, Check1, or
                              "box" while a message box has it)
  qt_probe.py field           the focused field: its text, then the start and
                              the end of its selection, one per line
  qt_probe.py hot TOOLBAR     the number of the toolbar's marked button
  qt_probe.py box             the text of the message box that is showing"""

import sys
import time

import pyatspi

APPLICATION = "RUROR"
# The controls by the names screen readers read for them.
CONTROLS = {
    "Ubicación": ("Text1", None),
    "Nombre": ("Text2", None),
    "Centro de datos QVT Datos": ("Check1", None),
    "Aceptar": ("Toolbar1", 1),
    "Cancelar": ("Toolbar1", 3),
    "Seleccione el destino de la información": ("Toolbar2", 1),
}


def application():
    for _ in range(50):
        for found in pyatspi.Registry.getDesktop(0):
            if found is not None and found.name == APPLICATION:
                return found
        time.sleep(0.2)
    sys.exit(f"no application named {APPLICATION} on the accessibility bus")


def walk(node, depth=0):
    if depth > 20:
        return
    yield node
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def focused():
    for node in walk(application()):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
    return None


def in_box(node):
    while node is not None:
        if node.getRoleName() in ("dialog", "alert"):
            return True
        node = node.parent
    return False


def focus():
    node = focused()
    if node is None:
        return "none"
    if in_box(node):
        return "box"
    return CONTROLS.get(node.name, (node.name or node.getRoleName(), None))[0]


def field():
    node = focused()
    text = node.queryText()
    if text.getNSelections() > 0:
        start, end = text.getSelection(0)
    else:
        start = end = text.caretOffset
    return f"{text.getText(0, -1)}\n{start}\n{end}"


def hot(toolbar):
    node = focused()
    control, number = CONTROLS.get(node.name if node else "", (None, None))
    return str(number) if control == toolbar else "0"


def box():
    for node in walk(application()):
        if node.getRoleName() in ("dialog", "alert") and node.getState().contains(pyatspi.STATE_SHOWING):
            # Without the invisible marks where a long text may break.
            return "\n".join(part.name.replace("\u200b", "") for part in walk(node)
                             if part.getRoleName() == "label" and part.name)
    return ""


def main():
    command = sys.argv[1:]
    if command == ["focus"]:
        print(focus())
    elif command == ["field"]:
        print(field())
    elif len(command) == 2 and command[0] == "hot":
        print(hot(command[1]))
    elif command == ["box"]:
        print(box())
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main())
