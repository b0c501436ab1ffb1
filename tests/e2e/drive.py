#!/usr/bin/python3
# Tarnwick: exact odds calculator for five-card draw video poker.
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the desktop program through the accessibility bus: five cards clicked with the
real mouse, the Results table read cell by cell, a card slot toggled, the language switched
through the menu. Every step polls for its effect; a failure names the step."""

import subprocess
import sys
import time

import pyatspi


def wait_for(predicate, timeout=10.0, interval=0.05):
    end = time.monotonic() + timeout
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Exception:  # not there yet
            pass
        if time.monotonic() > end:
            return None
        time.sleep(interval)


def find(root, role=None, name=None, description=None, timeout=5.0):
    return wait_for(lambda: pyatspi.findDescendant(
        root, lambda a: a is not None
        and (role is None or a.getRoleName() == role)
        and (name is None or a.name == name)
        and (description is None or a.description == description)), timeout)


def check(condition, what):
    if not condition:
        print(f"FAILED: {what}", file=sys.stderr)
        sys.exit(1)
    print(f"ok: {what}")


def click(accessible):
    extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", "--sync", str(extents.x + extents.width // 2),
                    str(extents.y + extents.height // 2), "click", "1"], check=True)


def action(accessible, name):
    actions = accessible.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    actions.doAction(names.index(name))


def results(app):
    table = find(app, "table", "Results")
    cells = table.queryTable()
    return [[cells.getAccessibleAt(r, c).name for c in range(cells.nColumns)]
            for r in range(cells.nRows)]


def main():
    shots = sys.argv[1] if len(sys.argv) > 1 else ""
    app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                 if a and a.name == "tarnwick" and a.childCount > 0), None), 30)
    check(app is not None, "the program is on the accessibility bus")
    check(find(app, "table", "Results") is not None, "the Results table is there")

    # Five cards: four to a royal flush and a low card.
    for card in ["AS", "KS", "QS", "JS", "3D"]:
        button = find(app, "check box", card)
        check(button is not None, f"card button {card}")
        click(button)
    grid = wait_for(lambda: (lambda g: g if g[-1][2] else None)(results(app)), 5)
    check(grid is not None and grid[-1][2] == "1855%", "the hand is analysed: 1855% expected")
    check(grid[0][0].strip() == "ROYAL FLUSH" and grid[0][2] == "2.128%",
          "the royal flush chance of drawing one card is 1 in 47")
    slot = find(app, "check box", "Card 5")
    check(slot is not None and slot.description == "3D", "Card 5 holds the 3D")
    check(not slot.getState().contains(pyatspi.STATE_CHECKED), "the 3D is to be replaced")

    # Holding the 3D as well: standing pat on nothing.
    click(slot)
    held = wait_for(lambda: slot.getState().contains(pyatspi.STATE_CHECKED), 3)
    check(held, "a click holds the 3D")
    grid = wait_for(lambda: (lambda g: g if g[-1][2].strip() == "0.00%" else None)(results(app)), 3)
    check(grid is not None, "standing pat on ace high returns nothing")
    if shots:
        subprocess.run(["import", "-window", "root", f"{shots}/e2e-hand.png"], check=False)

    # The language through the menu, with the keyboard as a player without a mouse would:
    # Qt keeps popup menus off the accessibility tree (their items are announced as they
    # get the focus), so the items are reached with the arrow keys. From the bottom: About,
    # then Language; its languages are listed by file name: Deutsch, English, Russian.
    menu = find(app, "push button", "Menu")
    check(menu is not None, "the Menu button")
    click(menu)
    time.sleep(0.3)
    subprocess.run(["xdotool", "key", "--delay", "100", "Up", "Up", "Right", "Down", "Down",
                    "Return"],
                   check=True)
    check(find(app, "push button", "Меню", timeout=5) is not None, "the menu button is in Russian")
    grid = results(app)
    check(grid[-1][0].strip() == "Ожидаемый возврат", "the return row is in Russian")
    if shots:
        subprocess.run(["import", "-window", "root", f"{shots}/e2e-russian.png"], check=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
