#!/usr/bin/python3
# Tarnwick: exact odds calculator for five-card draw video poker.
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the desktop program through the accessibility bus: five cards clicked with the
real mouse, the Results table read cell by cell, a card slot toggled, the all-holds and
statistics windows read and kept open while the next hand is put, the charts window
switched, set to ten lines and a chart saved, three practice hands played, the language
switched through the menu. Every step polls for its effect; a failure
names the step."""

import os
import struct
import subprocess
import sys
import tempfile
import time
import zlib

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


def click(accessible, count=1):
    extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", "--sync", str(extents.x + extents.width // 2),
                    str(extents.y + extents.height // 2), "click", "--repeat", str(count), "1"],
                   check=True)


def action(accessible, name):
    actions = accessible.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    actions.doAction(names.index(name))


def focused_text(root):
    """The text field that has the keyboard focus, once it has it."""
    return wait_for(lambda: pyatspi.findDescendant(
        root, lambda a: a is not None and a.getRoleName() == "text"
        and a.getState().contains(pyatspi.STATE_FOCUSED)), 5)


def focus_main():
    subprocess.run(["xdotool", "search", "--name", "^Tarnwick [0-9.]+$", "windowraise",
                    "windowfocus", "--sync"], check=True)


def cells(table):
    grid = table.queryTable()
    return [[grid.getAccessibleAt(r, c).name for c in range(grid.nColumns)]
            for r in range(grid.nRows)]


def results(app):
    return cells(find(app, "table", "Results"))


def figure_windows(app, shots):
    """All holds on the standing pat hand and F4's statistics of 9/6 Jacks or better stay
    open beside the main window; five cards put in the main window show in all holds."""
    click(find(app, "push button", "All holds"))
    holds = find(app, "table", "Holds", timeout=10)
    check(holds is not None, "the All holds button opens the holds table")
    rows = cells(holds)
    check(len(rows) == 32, "the holds table lists the 32 holds")
    check(rows[0][0] == "AS KS QS JS / 3D" and rows[0][1].strip() == "1855.31915"
          and rows[0][2].strip().lower() == "best",
          "the best hold first: draw one card to the royal, 872/47 bets")
    if shots:
        subprocess.run(["import", "-window", "root", f"{shots}/e2e-all-holds.png"], check=False)
    # Without a window manager the focus does not return to the main window by itself, and
    # all holds may cover it: it is raised and given the focus directly.
    focus_main()
    subprocess.run(["xdotool", "key", "F4"], check=True)
    table = find(app, "table", "Statistics", timeout=10)
    check(table is not None, "F4 opens the statistics table")
    rows = cells(table)
    check("2 598 960" in [c.strip() for c in rows[0]], "all 2 598 960 deals in the total")
    if shots:
        subprocess.run(["import", "-window", "root", f"{shots}/e2e-statistics.png"], check=False)
    check(find(app, "table", "Holds") is not None, "all holds stays open beside the statistics")

    # The next hand, put through the main window's card buttons (the other windows may
    # cover them on a screen without a window manager, so the buttons are pressed through
    # the accessibility bus): all holds follows, the statistics stay.
    for card in ["KH", "KD", "7C", "7S", "2H"]:
        button = find(app, "check box", card)
        check(button is not None, f"card button {card}")
        actions = button.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        action(button, "Toggle" if "Toggle" in names else "Press")
    check(wait_for(lambda: cells(find(app, "table", "Holds"))[0][0] == "KH KD 7C 7S / 2H", 10),
          "all holds shows the new hand, two pair kept first")
    check(wait_for(lambda: "2 598 960" in [c.strip() for c in cells(
        find(app, "table", "Statistics"))[0]], 5), "the statistics stay open")
    for name in ["Statistics", "Holds"]:
        window = find(app, "table", name).parent
        while window.getRoleName() not in ("dialog", "frame", "window"):
            window = window.parent
        click(find(window, "push button", "OK"))
        check(wait_for(lambda: pyatspi.findDescendant(
            app, lambda a: a is not None and a.getRoleName() == "table" and a.name == name)
            is None, 5),
            f"OK closes the {name.lower()} window")
    click(find(app, "table", "Results"))
    # The hand of the steps after these: four to a royal flush again, the 3D held.
    for card in ["AS", "KS", "QS", "JS", "3D"]:
        click(find(app, "check box", card))
    slot = find(app, "check box", "Card 5")
    click(slot)
    check(wait_for(lambda: slot.getState().contains(pyatspi.STATE_CHECKED), 3),
          "the royal draw hand again, the 3D held")


def practice(app, shots):
    """F5 opens practice; three hands are played with the real mouse and keyboard."""
    click(find(app, "table", "Results"))
    subprocess.run(["xdotool", "key", "F5"], check=True)
    window = find(app, "dialog", "Practice", timeout=10)
    check(window is not None, "F5 opens the practice window")
    draw = find(window, "push button", "Draw")
    verdict = find(window, "label", description="Verdict")
    check(draw is not None and verdict is not None, "the Draw button and the verdict")
    for hand in range(3):
        # Dealt with nothing held: card 1 by the mouse, card 3 by its key are held.
        click(find(window, "check box", "Card 1"))
        subprocess.run(["xdotool", "key", "3"], check=True)
        check(wait_for(lambda: find(window, "check box", "Card 3").getState().contains(
            pyatspi.STATE_CHECKED), 3), f"hand {hand + 1}: cards 1 and 3 held")
        click(draw)
        said = wait_for(lambda: verdict.name, 5)
        check(said is not None and said.split(":")[0] in ("Right", "Mistake"),
              f"hand {hand + 1}: the verdict is shown")
        if shots and hand == 0:
            subprocess.run(["import", "-window", "root", f"{shots}/e2e-practice.png"], check=False)
        subprocess.run(["xdotool", "key", "Return"], check=True)  # the next deal
        check(wait_for(lambda: not verdict.name, 5), f"hand {hand + 1}: Enter deals the next")
    played = find(window, "label", description="Hands played")
    check(played is not None and played.name == "3", "three hands played")
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    check(wait_for(lambda: pyatspi.findDescendant(
        app, lambda a: a is not None and a.getRoleName() == "dialog" and a.name == "Practice")
        is None, 5),
        "Escape closes the practice window")
    click(find(app, "table", "Results"))
def png_size(path):
    """The width and height of a whole, sound PNG file (every chunk's checksum right, the
    pixel data as long as the size says), else None."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        return None
    at, chunks, pixels = 8, [], b""
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) != crc:
            return None
        chunks.append(kind)
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
        if kind == b"IDAT":
            pixels += body
        at += 12 + length
    if not chunks or chunks[0] != b"IHDR" or chunks[-1] != b"IEND" or depth != 8:
        return None
    channels = {0: 1, 2: 3, 4: 2, 6: 4}.get(colour)
    if channels is None or len(zlib.decompress(pixels)) != height * (1 + width * channels):
        return None
    return width, height


def charts_window(app, shots):
    """F3 opens the charts of 9/6 Jacks or better; the list switches to the risk of ruin and
    the win/lost chart; Save writes the chart as a PNG file typed into the file dialog."""
    subprocess.run(["xdotool", "key", "F3"], check=True)
    window = find(app, "dialog", timeout=10)
    charts = window and find(window, "list", "Charts")
    check(charts is not None and "Jacks or better" in window.name, "F3 opens the charts window")
    header = find(window, "label", description="Chart name")
    check(header is not None and header.name == "EXPECTED GAIN", "it opens on the expected gain")
    save = find(window, "push button", "Save")
    check(wait_for(lambda: save.getState().contains(pyatspi.STATE_ENABLED), 10),
          "the expected gain is computed")
    check(find(window, "label", description="Win chance").name.endswith("%"),
          "the chance to be ahead is shown")
    click(find(charts, "list item", " Risk of ruin"))
    check(wait_for(lambda: header.name == "RISK OF RUIN", 5), "a click shows the risk of ruin")
    initial = find(window, "spin button", "Initial bankroll")
    check(initial is not None and initial.getState().contains(pyatspi.STATE_SHOWING),
          "with its bankrolls")
    click(find(charts, "list item", " Win/lost"))
    check(wait_for(lambda: header.name == "WIN/LOST", 5), "a click shows the win/lost chart")
    check(wait_for(lambda: not initial.getState().contains(pyatspi.STATE_SHOWING), 5),
          "the bankrolls give way to the win/lost legend")
    check(wait_for(lambda: save.getState().contains(pyatspi.STATE_ENABLED), 10),
          "the win/lost chart is computed")
    # Ten lines a deal: typed into the lines edit, the chart is computed again.
    win = find(window, "label", description="Win chance after the last hand")
    one_line = win.name
    lines = find(window, "spin button", "Lines per deal")
    check(lines is not None, "the lines per deal can be chosen")
    click(lines)
    subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
    subprocess.run(["xdotool", "type", "--delay", "20", "10"], check=True)
    check(wait_for(lambda: lines.queryValue().currentValue == 10, 5), "ten lines are typed")
    check(wait_for(lambda: win.name not in ("", one_line)
                   and save.getState().contains(pyatspi.STATE_ENABLED), 30),
          f"the win/lost chart of ten lines is computed ({one_line} -> {win.name})")
    if shots:
        subprocess.run(["import", "-window", "root", f"{shots}/e2e-charts.png"], check=False)

    folder = tempfile.mkdtemp()
    target = os.path.join(folder, "win-lost.png")
    try:
        action(save, "Press")
        dialog = wait_for(lambda: pyatspi.findDescendant(
            app, lambda a: a is not None and a.getRoleName() == "dialog"
            and a.name.strip() == "Save"), 10)
        check(dialog is not None, "Save opens the file dialog")
        check(focused_text(dialog) is not None, "the file name field takes the focus")
        subprocess.run(["xdotool", "type", "--delay", "20", target], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)
        size = wait_for(lambda: os.path.exists(target) and png_size(target), 10)
        check(size is not None and size[0] >= 300 and size[1] >= 200,
              f"the chart is saved as a whole PNG picture {size}")
    finally:
        for name in os.listdir(folder):
            os.remove(os.path.join(folder, name))
        os.rmdir(folder)
    click(find(window, "push button", "OK"))
    check(wait_for(lambda: pyatspi.findDescendant(
        app, lambda a: a is not None and a.name == "Charts"
        and a.getRoleName() == "list") is None, 5), "OK closes the charts window")
    click(find(app, "table", "Results"))


def main():
    shots = sys.argv[1] if len(sys.argv) > 1 else ""
    app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                 if a and a.name == "tarnwick" and a.childCount > 0), None), 30)
    check(app is not None, "the program is on the accessibility bus")
    check(find(app, "table", "Results") is not None, "the Results table is there")
    check(find(app, "frame", "Tarnwick") is not None, "the main window is announced as a frame")

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
    figure_windows(app, shots)
    charts_window(app, shots)
    practice(app, shots)

    # A pay table of its own: F2 opens the Game and Payout dialog, Deuces Wild is chosen
    # from the list, Add opens the editor, the royal flush is typed as 940, and OK computes
    # the table; it is listed, chosen, and the main window pays it.
    subprocess.run(["xdotool", "key", "F2"], check=True)
    dialog = find(app, "dialog", timeout=10)
    check(dialog is not None and dialog.name.strip() == "Game and Payout",
          "F2 opens the Game and Payout dialog")
    deuces = find(dialog, "list item", " DEUCES WILD")
    check(deuces is not None, "the game list has Deuces Wild")
    click(deuces)
    tables = find(dialog, "table", "Tables")
    check(tables is not None, "the dialog's table of pay tables")
    check(wait_for(lambda: cells(tables)[0][0] == "800", 5), "the deuces tables are listed")
    before = len([c for c in cells(tables)[0] if c])
    click(find(dialog, "push button", "Add"))
    editor = wait_for(lambda: pyatspi.findDescendant(
        app, lambda a: a is not None and a.getRoleName() == "dialog"
        and a.name.strip() == "Add new pay table"), 10)
    check(editor is not None, "Add opens the pay table editor")
    pays = find(editor, "table", "Pays")
    # A double click edits the cell at once (a single click on the selected cell would only
    # after the double-click interval); the keys after it reach the editor in their order.
    click(pays.queryTable().getAccessibleAt(0, 1), count=2)
    subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
    subprocess.run(["xdotool", "type", "--delay", "50", "940"], check=True)
    click(find(editor, "push button", "OK"))
    grid = wait_for(lambda: (lambda g: g if len([c for c in g[0] if c]) == before + 1 else None)(
        cells(tables)), 60)
    check(grid is not None and "940" in grid[0], "the new table is listed with its royal of 940")
    click(find(dialog, "push button", "OK"))
    check(wait_for(lambda: results(app)[0][1].strip() == "940", 10),
          "the main window pays 940 for the natural royal flush")

    # The language through the menu as a screen reader reaches it: the menu and its items
    # are the Menu button's children on the accessibility tree, found by role and name and
    # pressed without the mouse. The Language item's child is its submenu of languages.
    menu = find(app, "push button", "Menu")
    check(menu is not None, "the Menu button")
    check(find(menu, "menu item", "All holds") is not None, "the menu lists All holds")
    language = find(menu, "menu item", "Language")
    check(language is not None, "the menu's Language item")
    russian = find(language, "menu item", "Русский")
    check(russian is not None, "the languages under Language")
    action(russian, "Press")
    check(find(app, "push button", "Меню", timeout=5) is not None, "the menu button is in Russian")
    grid = results(app)
    check(grid[-1][0].strip() == "Ожидаемый возврат", "the return row is in Russian")
    if shots:
        subprocess.run(["import", "-window", "root", f"{shots}/e2e-russian.png"], check=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
