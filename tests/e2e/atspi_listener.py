"""Writes, one line each, what a screen reader is told by the VARN program over AT-SPI: the
object that takes the focus and the notices that appear, each with the role, name and text
a screen reader speaks them by. Used by screen_reader.sh; ends when the bus goes away."""

import sys

import pyatspi

EVENTS = ["object:state-changed:focused", "object:state-changed:showing"]
# Asked for as a screen reader asks for them: the program sends a change of a name only to
# those who listen for it, and the names known here are kept up to date by them.
KEPT_UP_TO_DATE = ["object:property-change:accessible-name"]


def readable(accessible):
    try:
        return accessible.queryText().getText(0, -1)
    except NotImplementedError:
        return ""


# A cell's row and column, as a screen reader finds them: through the table it lies in.
def headers(accessible):
    if accessible.getRole() != pyatspi.ROLE_TABLE_CELL:
        return []
    table = accessible.parent.queryTable()
    index = accessible.getIndexInParent()
    row, column = table.getRowAtIndex(index), table.getColumnAtIndex(index)
    found = [table.getRowHeader(row), table.getColumnHeader(column)]
    return [header.name if header else "" for header in found]


def told(event, out):
    source = event.source
    if not event.detail1 or source is None:
        return
    try:
        if source.getApplication().name != "VARN":
            return
        fields = [event.type.split(":")[-1], source.getRoleName(), source.name, readable(source)]
        fields += headers(source)
    except Exception as error:  # an object gone meanwhile is no fault of the test
        fields = ["gone", str(error)]
    out.write("|".join(field.replace("\n", " ") for field in fields) + "\n")


def main():
    out = open(sys.argv[1], "w", buffering=1, encoding="utf-8")
    for name in EVENTS:
        pyatspi.Registry.registerEventListener(lambda event: told(event, out), name)
    for name in KEPT_UP_TO_DATE:
        pyatspi.Registry.registerEventListener(lambda event: None, name)
    out.write("ready\n")
    pyatspi.Registry.start()


main()
