#!/bin/bash
# End-to-end test: what a screen reader is told while the sheet is worked with the keyboard.
# Drives the real VARN program in a real X session with its accessibility bridge on, and
# reads the AT-SPI events a screen reader reads (atspi_listener.py writes them down):
#
#   screen_reader.sh /path/to/VARN
#
# Tab from the builder's name puts the focus on a cell of the estimate sheet and on nothing
# hidden; a negative amount reads "minus"; F1 brings up the advice as a tool tip, and Ctrl+S
# the "Saved" message as a notification, which screen readers say as they appear. Orca itself
# is not run: it needs a desktop session and speech, and says what these events give it.
#
# Exit status: 0 passed, 1 failed, 77 skipped (a tool that the test needs is missing).

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"

step="start the accessibility bus"
python=/usr/bin/python3
for tool_package in dbus-daemon:dbus-daemon /usr/libexec/at-spi-bus-launcher:at-spi2-core; do
    command -v "${tool_package%%:*}" >/dev/null 2>&1 \
        || { echo "SKIP: ${tool_package%%:*} is not installed (Debian package ${tool_package#*:})"; exit 77; }
done
"$python" -c 'import pyatspi' 2>/dev/null \
    || { echo "SKIP: pyatspi is not installed (Debian package python3-pyatspi)"; exit 77; }

bus_pid=
listener_pid=
stop_bus() {
    stop_process "$listener_pid"
    cleanup
    # The accessibility bus and its registry end with the session bus that started them.
    stop_process "$bus_pid"
}
trap stop_bus EXIT

export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/bus"
dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" >"$work/dbus.log" 2>&1 </dev/null &
bus_pid=$!
bus_ready() {
    [ -S "$work/runtime/bus" ]
}
wait_until 10 bus_ready || fail "expected the session bus to start within 10 s; see $work/dbus.log"
unset NO_AT_BRIDGE
# As a desktop sets it while a screen reader runs.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

events="$work/events.log"
"$python" "$(dirname "$0")/atspi_listener.py" "$events" >"$work/listener.log" 2>&1 </dev/null &
listener_pid=$!
listener_ready() {
    grep -qx ready "$events" 2>/dev/null
}
wait_until 20 listener_ready || fail "expected the AT-SPI listener to start within 20 s; see $work/listener.log"

# told_since LINE PATTERN: a line of the events after the first LINE ones matches PATTERN.
told_since() {
    tail -n +"$(($1 + 1))" "$events" | grep -q -- "$2"
}
event_count() {
    wc -l <"$events"
}
# expect_told LINE PATTERN WHAT: waits for an event matching PATTERN after LINE.
expect_told() {
    wait_until 10 told_since "$1" "$2" || {
        echo "  events since then:" >&2
        tail -n +"$(($1 + 1))" "$events" | sed 's/^/    /' >&2
        fail "expected $3 ($2)"
    }
}

step="start VARN"
start_varn 1

step="Tab from the builder's name into the sheet"
xdotool key --delay 50 Tab Tab
expect_told 0 "^focused|text|Builder's name|" "the builder's name to take the focus"
mark=$(event_count)
xdotool key Tab
expect_told "$mark" "^focused|table cell|empty||Permits, Fees, Surveys|Subcontractor, Supplier$" \
    "the first cell of the sheet, with its row and column, to take the focus"
sleep 0.5
strays=$(tail -n +"$((mark + 1))" "$events" | grep '^focused|' | grep -v '^focused|table' || true)
[ -z "$strays" ] || fail "expected nothing but the sheet and its cells to take the focus; also focused: $strays"

step="a negative amount"
xdotool key --delay 50 Down Down Down Down Right Right
xdotool type --delay 30 -- -200
xdotool key Return Up
mark=$(event_count)
xdotool key Right Left
expect_told "$mark" "^focused|table cell|minus \$200.00|minus \$200.00|Rough Lumber|Original Cost Estimate$" \
    "the amount (\$200.00) to be read as minus \$200.00"

step="F1, the advice"
mark=$(event_count)
xdotool key Left F1
expect_told "$mark" "^showing|tool tip|[^|]\+|" "F1's advice to appear as a tool tip with its text"

step="Ctrl+S, the message of the save"
xdotool key ctrl+s
wait_for_window '^Save Project$' '"Save Project" dialog'
mark=$(event_count)
xdotool type --delay 10 "$work/save/house.vrn"
xdotool key Return
expect_told "$mark" "^showing|notification|Saved house.vrn|" "\"Saved house.vrn\" to appear as a notification"

step="File > Exit"
file_exit
wait_for_exit

passed
