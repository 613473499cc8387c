#!/usr/bin/env python3
"""Walks the running program's window through the desktop's accessibility stack (AT-SPI):
the main controls are found by their names and roles, and Convert is pressed through its
accessible action. Prints what it finds; exits 0 when every control was found and the press
was taken, 1 otherwise.  Usage: walk.py OUTPUT_FILE_EXPECTED [SECONDS]"""
import os
import sys
import time

import pyatspi


def find_app(name, seconds):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    return None


def label_of(node):
    """What a screen reader says a control is: its name; for a list, whose name on this platform
    is its current item, the label it is labelled by."""
    name = node.name or ""
    try:
        if node.getRoleName() == "combo box":
            for relation in node.getRelationSet():
                if relation.getRelationType() != pyatspi.RELATION_LABELLED_BY:
                    continue
                for i in range(relation.getNTargets()):
                    target = relation.getTarget(i)
                    if target is not None and target.getRoleName() == "label" and target.name:
                        name = target.name
    except Exception:
        pass
    return name.strip().rstrip(":").strip()


def walk(node, found):
    try:
        found.append((node.getRoleName(), label_of(node)))
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                walk(child, found)
    except Exception:  # a node that went away while walked
        pass


def find(node, role, name):
    try:
        if node.getRoleName() == role and label_of(node) == name:
            return node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            hit = find(child, role, name) if child is not None else None
            if hit is not None:
                return hit
    except Exception:
        pass
    return None


def main():
    expected = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30
    app = find_app("Zorvane", seconds)
    if app is None:
        desktop = pyatspi.Registry.getDesktop(0)
        names = [desktop.getChildAtIndex(i).name for i in range(desktop.childCount)]
        print("the program is not on the accessibility bus; there are: " + ", ".join(names))
        return 1
    wanted = [
        ("combo box", "Audio codec"),
        ("combo box", "Video codec"),
        ("slider", "Volume"),
        ("check box", "2-pass encoding"),
        ("spin button", "Top"),
        ("push button", "Convert"),
    ]
    missing = []
    end = time.time() + seconds
    while True:
        found = []
        walk(app, found)
        missing = [w for w in wanted if w not in found]
        if not missing or time.time() > end:
            break
        time.sleep(0.5)
    for role, name in wanted:
        print(("found   " if (role, name) not in missing else "MISSING ") + role + ": " + name)
    if missing:
        return 1
    unnamed = [r for r, n in found if not n and r in ("slider", "spin button", "check box", "push button")]
    print("controls without a name (the file list's cells among them): %d" % len(unnamed))
    convert = find(app, "push button", "Convert")
    actions = convert.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    print("Convert's actions: " + ", ".join(names))
    press = names.index("Press") if "Press" in names else 0
    if not actions.doAction(press):
        print("the press was refused")
        return 1
    end = time.time() + seconds
    while time.time() < end and not (os.path.isfile(expected) and os.path.getsize(expected) > 0):
        time.sleep(0.2)
    if not os.path.isfile(expected):
        print("pressing Convert made no " + expected)
        return 1
    print("pressing Convert made " + expected)
    return 0


if __name__ == "__main__":
    sys.exit(main())
