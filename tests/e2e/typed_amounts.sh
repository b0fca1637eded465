#!/bin/bash
# End-to-end test: amounts typed as people type them reach the saved file as meant, and Tab
# keeps to the sheet. Drives the real VARN program in a real X session with the keyboard.
#
#   typed_amounts.sh /path/to/VARN
#
# The owner's name is typed first; then 1234,56 (a decimal comma) into "Rough Lumber" /
# "Original Cost Estimate", and on the next row 1500 Tab Tab 200, which puts 200 into
# "Total of Previous Payment" and leaves the owner's name as it was. Ctrl+S saves through
# the "Save Project" dialog, and the file is compared byte for byte with the one expected.
#
# Exit status: 0 passed, 1 failed, 77 skipped (a tool that the test needs is missing).

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"

file="$work/save/estimate.vrn"
expected="$work/expected.vrn"
{
    printf '2,4,6\r\n"Pat Owner","",""\r\n'
    for row in $(seq 1 36); do
        description=${categories[row - 1]:-}
        case $row in
        5) printf '"","%s","$1,234.56","$1,234.56","","","$1,234.56"\r\n' "$description" ;;
        6) printf '"","%s","$1,500.00","$1,500.00","$200.00","","$1,300.00"\r\n' "$description" ;;
        *) printf '"","%s","","","","",""\r\n' "$description" ;;
        esac
    done
} >"$expected"

step="start VARN"
start_varn 1

step="type the owner's name and the amounts"
# The owner's name has the focus; three Tabs lead into the sheet, to row 1, column 1.
xdotool type --delay 20 "Pat Owner"
xdotool key --delay 20 Tab Tab Tab Down Down Down Down Right Right
xdotool type --delay 20 1234,56
xdotool key Return
xdotool type --delay 20 1500
xdotool key --delay 20 Tab Tab
xdotool type --delay 20 200
xdotool key Return

step="Ctrl+S and the Save Project dialog"
xdotool key ctrl+s
wait_for_window '^Save Project$' '"Save Project" dialog'
xdotool type --delay 10 "$file"
xdotool key Return
wait_until 10 window_gone '^Save Project$' \
    || fail "expected the Save Project dialog to close after Enter; it is still open"
wait_until 10 file_stable "$file" || fail "expected $file to be written; found: $(saved_files)"
compare_file "$file" "$expected" "saved after typing"

step="File > Exit"
file_exit
wait_for_exit

passed
