#!/usr/bin/python3
"""Prints the accessibility tree of a running program as a screen reader
reads it through AT-SPI, one object a line:

    PATH <tab> ROLE <tab> NAME <tab> STATES <tab> LABELLED-BY <tab> EXTRA

PATH is the names of the object's ancestors from its window down, joined by
"/" (an ancestor without a name stands as "[role]"). STATES lists the
states a screen reader speaks (focused, disabled, invisible...). EXTRA is
the description, or for a table its size, header titles and focused cell.

    accessibility_tree.py PID [WINDOW-NAME]   (all windows when none is named)
    accessibility_tree.py PID --focused-cell TABLE-NAME
    accessibility_tree.py PID --press BUTTON-NAME   (its first action, as Orca's)
    accessibility_tree.py PID --events press BUTTON-NAME
    accessibility_tree.py PID --events key X-WINDOW KEYS
        the events a screen reader hears after pressing the button through
        AT-SPI or typing the keys into the window: EVENT <tab> ROLE <tab> NAME,
        and for a table cell <tab> "row R of N", as a screen reader tells it

Exits with 2 when the accessibility bus or the program cannot be reached.
"""
import subprocess
import sys

try:
    import pyatspi
except ImportError:
    print("pyatspi is not installed", file=sys.stderr)
    sys.exit(2)

SPOKEN_STATES = [
    ("focused", pyatspi.STATE_FOCUSED),
    ("selected", pyatspi.STATE_SELECTED),
    ("checked", pyatspi.STATE_CHECKED),
    ("read-only", pyatspi.STATE_READ_ONLY),
]
# Objects at least one table cell wide are listed only this many rows deep.
MAX_TABLE_ROWS = 4
# A longer table is searched for its focused cell only in the rows it shows,
# found every so many pixels down.
MAX_SCANNED_ROWS = 1000
ROW_PROBE_STEP = 8
MAX_LIST_ITEMS = 5


def clean(text):
    return (text or "").replace("\t", " ").replace("\n", " ").replace("\r", "")


def states(acc):
    s = acc.getState()
    words = [w for w, state in SPOKEN_STATES if s.contains(state)]
    if not s.contains(pyatspi.STATE_ENABLED) and not s.contains(pyatspi.STATE_SENSITIVE):
        words.append("disabled")
    if not s.contains(pyatspi.STATE_SHOWING):
        words.append("invisible")
    return ",".join(words)


def labelled_by(acc):
    names = []
    for relation in acc.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [clean(relation.getTarget(i).name) for i in range(relation.getNTargets())]
    return ",".join(names)


def step(acc):
    return clean(acc.name) or "[%s]" % acc.getRoleName()


def table_summary(acc):
    table = acc.queryTable()
    headers = []
    for column in range(table.nColumns):
        header = table.getColumnHeader(column)
        headers.append(clean(header.name) if header else "")
    focused = focused_cell(acc)
    where = "row %d column %d %r" % focused if focused else "none"
    return "rows=%d columns=%d headers=%s focused=%s" % (
        table.nRows, table.nColumns, "|".join(headers), where)


def focused_cell(acc):
    """(row, column, text) of the table's focused cell, or None. A long
    table is asked only for the rows it shows, as a screen reader would."""
    table = acc.queryTable()
    rows = range(table.nRows) if table.nRows <= MAX_SCANNED_ROWS else shown_rows(acc, table)
    for row in rows:
        for column in range(table.nColumns):
            cell = table.getAccessibleAt(row, column)
            if cell is not None and cell.getState().contains(pyatspi.STATE_FOCUSED):
                return row, column, clean(cell.name)
    return None


def shown_rows(acc, table):
    """The rows whose cells lie under a line down the table, below the
    column headers: the cells at points of the screen, as a pointer finds
    them, so that no row off screen is asked for."""
    component = acc.queryComponent()
    box = component.getExtents(pyatspi.DESKTOP_COORDS)
    left, top = box.x + 1, box.y
    for column in range(table.nColumns):
        header = table.getColumnHeader(column)
        if header is None:
            continue
        extents = header.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if extents.width > 0 and extents.height > 0:
            left, top = extents.x + extents.width // 2, extents.y + extents.height
            break
    rows = []
    for y in range(top + 1, box.y + box.height, ROW_PROBE_STEP):
        cell = component.getAccessibleAtPoint(left, y, pyatspi.DESKTOP_COORDS)
        if cell is None or cell.getRole() != pyatspi.ROLE_TABLE_CELL:
            continue
        row = table.getRowAtIndex(cell.getIndexInParent())
        if row >= 0 and row not in rows:
            rows.append(row)
    return rows


def spoken_position(cell):
    """Where a screen reader says a table cell stands: "row R of N"."""
    try:
        parent = cell.parent
        table = parent.queryTable()
        row = table.getRowAtIndex(cell.getIndexInParent())
        return "row %d of %d" % (row + 1, table.nRows) if row >= 0 else ""
    except (NotImplementedError, AttributeError):
        return ""


def extra(acc):
    role = acc.getRole()
    if role == pyatspi.ROLE_TABLE:
        try:
            return table_summary(acc)
        except NotImplementedError:
            return "no table interface"
    if role in (pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT):
        try:
            return "text=" + clean(acc.queryText().getText(0, -1))
        except NotImplementedError:
            pass
    return clean(acc.description)


def walk(acc, path, out, rows_left=None):
    out.append("\t".join([path, acc.getRoleName(), clean(acc.name), states(acc),
                          labelled_by(acc), extra(acc)]))
    here = path + "/" + step(acc) if path else step(acc)
    is_table = acc.getRole() == pyatspi.ROLE_TABLE
    columns = acc.queryTable().nColumns if is_table else 0
    for i in range(acc.childCount):
        # A table's cells come a row at a time, after a row of headers.
        if is_table and columns and i >= columns * (MAX_TABLE_ROWS + 1):
            out.append("%s\t...\t%d more\t\t\t" % (here, acc.childCount - i))
            break
        if acc.getRole() == pyatspi.ROLE_LIST and i >= MAX_LIST_ITEMS:
            out.append("%s\t...\t%d more\t\t\t" % (here, acc.childCount - i))
            break
        child = acc.getChildAtIndex(i)
        if child is not None:
            walk(child, here, out)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    app = application(int(argv[1]))
    if app is None:
        print("no accessible application of process %s" % argv[1], file=sys.stderr)
        return 2
    if len(argv) == 4 and argv[2] == "--focused-cell":
        for window in app:
            for found in find(window, pyatspi.ROLE_TABLE, argv[3]):
                cell = focused_cell(found)
                print("%d\t%d\t%s" % cell if cell else "none")
                return 0
        return 1
    if len(argv) == 4 and argv[2] == "--press":
        return 0 if press(app, argv[3]) else 1
    if len(argv) >= 5 and argv[2] == "--events":
        if argv[3] == "press":
            act = lambda: press(app, argv[4])
        else:
            act = lambda: subprocess.call(["xdotool", "windowfocus", "--sync", argv[4], "key",
                                           "--clearmodifiers"] + argv[5:])
        print("\n".join(heard_after(int(argv[1]), act)))
        return 0
    out = []
    for window in app:
        if len(argv) < 3 or window.name == argv[2]:
            walk(window, "", out)
    print("\n".join(out))
    return 0


def press(app, name):
    for window in app:
        for button in find(window, pyatspi.ROLE_PUSH_BUTTON, name):
            button.queryAction().doAction(0)
            return True
    return False


LISTENED = ["object:text-changed", "object:property-change:accessible-description",
            "object:state-changed:focused", "focus:"]


def heard_after(pid, act, seconds=3):
    """The events of process `pid` from `act` until `seconds` later."""
    from gi.repository import GLib
    heard = []

    def on_event(event):
        try:
            source = event.source
            if source.get_process_id() != pid:
                return
            if event.type.startswith("object:state-changed") and not event.detail1:
                return  # a loss of focus
            line = "%s\t%s\t%s" % (event.type, source.getRoleName(), clean(source.name))
            if source.getRole() == pyatspi.ROLE_TABLE_CELL:
                line += "\t" + spoken_position(source)
            heard.append(line)
        except Exception:
            pass  # an object gone meanwhile

    pyatspi.Registry.registerEventListener(on_event, *LISTENED)
    # The program learns of the listener through the registry; give it time.
    GLib.timeout_add(1000, lambda: act() and False)
    GLib.timeout_add(1000 + seconds * 1000, lambda: pyatspi.Registry.stop() and False)
    pyatspi.Registry.start()
    return heard


def find(acc, role, name):
    if acc.getRole() == role and acc.name == name:
        yield acc
        return
    if acc.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST):
        return
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from find(child, role, name)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
