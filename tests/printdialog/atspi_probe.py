#!/usr/bin/python3
"""Reads and writes halyx-print's pane fields as an assistive technology does, through AT-SPI.

    atspi_probe.py names                 prints each text field's accessible name and role
    atspi_probe.py write NAME TEXT       inserts TEXT at the start of the field named NAME
    atspi_probe.py read NAME             prints the text of the field named NAME
"""
import sys
import time

import pyatspi


def fields():
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != "halyx-print":
            continue
        found = pyatspi.utils.findAllDescendants(
            app, lambda o: o.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_ENTRY)
        )
        return [f for f in found if f.name]
    return []


def field(name):
    for tries in range(50):
        for f in fields():
            if f.name == name:
                return f
        time.sleep(0.1)
    sys.exit(f"no field named {name!r}")


def main(argv):
    if argv[1] == "names":
        for f in fields():
            print(f"{f.getRoleName()}\t{f.name}")
    elif argv[1] == "write":
        f = field(argv[2])
        f.queryEditableText().insertText(0, argv[3], len(argv[3].encode()))
    elif argv[1] == "read":
        text = field(argv[2]).queryText()
        print(text.getText(0, -1))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
