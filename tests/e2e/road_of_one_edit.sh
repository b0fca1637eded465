#!/bin/bash
# End-to-end test: drives the real VARN program in a real X session (Xvfb with the openbox
# window manager), from outside, with the keyboard, as a user would.
#
#   road_of_one_edit.sh /path/to/VARN
#
# Run 1: a fresh estimate, 1500 typed into "Rough Lumber" / "Original Cost Estimate",
#        Ctrl+S, a path typed into the "Save Project" dialog, File > Exit; the saved file
#        is compared byte for byte with the one expected; a screenshot of the window is kept.
# Run 2: the file opened from the command line, "Acme" typed into row 1, column 1,
#        File > Exit, "Stop" answered Yes with Enter; the file must hold both edits.
# Run 3: the file opened again, an edit, File > Exit, "Stop" answered Cancel with Escape:
#        the program must stay; then File > Exit answered No: the file must be unchanged.
#
# Exit status: 0 passed, 1 failed, 77 skipped (a tool that the test needs is missing).
# The temporary folder (printed) keeps the screenshot, the saved file and the logs.

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"

file="$work/save/estimate.vrn"
expected1="$work/expected-run1.vrn"
expected2="$work/expected-run2.vrn"
expected_file "" >"$expected1"
expected_file "Acme" >"$expected2"

# ---------------------------------------------------------------------------------------
# Run 1: one edit, saved through the Save Project dialog

step="run 1: start VARN"
start=$(now_ms)
start_varn 1

step="run 1: enter 1500 into row 5, column 3"
# Name has the focus; Tab through Address and Builder's Name into the sheet, to row 1, column 1.
xdotool key --delay 20 Tab Tab Tab ctrl+Home Down Down Down Down Right Right
xdotool type --delay 20 1500
xdotool key Return

step="run 1: Ctrl+S and the Save Project dialog"
xdotool key ctrl+s
wait_for_window '^Save Project$' '"Save Project" dialog'
# No extension typed: the dialog adds .vrn.
xdotool type --delay 10 "${file%.vrn}"
xdotool key Return
wait_until 10 window_gone '^Save Project$' \
    || fail "expected the Save Project dialog to close after Enter; it is still open"
wait_until 10 file_stable "$file" \
    || fail "expected $file to be written after the Save Project dialog; found: $(saved_files)"
[ "$(saved_files)" = "estimate.vrn " ] \
    || fail "expected only estimate.vrn in $work/save; found: $(saved_files)"
step="run 1: the saved file"
cp "$file" "$work/saved-run1.vrn"
compare_file "$work/saved-run1.vrn" "$expected1" "saved in run 1"
window_active "$main_window" || wait_until 5 window_active "$main_window" \
    || fail "expected the main window to be active again after the dialog; active: $(xdotool getactivewindow 2>/dev/null)"

step="run 1: screenshot of the window"
shot="$work/run1-window.png"
shot_report="no screenshot"
wait_until 10 screenshot_ok "$main_window" "$shot" \
    || fail "expected a screenshot of the Cost Estimate window with more than 16 colours; got $shot_report ($shot)"
note "screenshot of run 1: $shot ($shot_report)"

step="run 1: File > Exit"
file_exit
wait_for_exit
compare_file "$file" "$expected1" "after run 1 exited"
note "run 1 passed in $(($(now_ms) - start)) ms"

# ---------------------------------------------------------------------------------------
# Run 2: the file opened at start-up, edited, saved by answering Yes at the Stop prompt

step="run 2: start VARN with the file"
start=$(now_ms)
start_varn 2 "$file"

step="run 2: enter Acme into row 1, column 1"
xdotool key --delay 20 Tab Tab Tab ctrl+Home
xdotool type --delay 20 Acme
xdotool key Return

step="run 2: File > Exit, Stop answered Yes"
file_exit
wait_for_window '^Stop$' '"Stop" prompt'
xdotool key Return
wait_for_exit
compare_file "$file" "$expected2" "saved by answering Yes in run 2"
note "run 2 passed in $(($(now_ms) - start)) ms"

# ---------------------------------------------------------------------------------------
# Run 3: an edit, File > Exit cancelled at the prompt; then left without saving

step="run 3: start VARN with the file"
start=$(now_ms)
start_varn 3 "$file"

step="run 3: enter Bolt into row 2, column 1"
xdotool key --delay 20 Tab Tab Tab ctrl+Home Down
xdotool type --delay 20 Bolt
xdotool key Return

step="run 3: File > Exit, Stop answered Cancel"
file_exit
wait_for_window '^Stop$' '"Stop" prompt'
xdotool key Escape
wait_until 10 window_gone '^Stop$' || fail "expected Escape to close the Stop prompt; it is still open"
still_there() {
    alive "$varn_pid" && [ -n "$(visible_window '^Cost Estimate$')" ] && window_gone '^Stop$'
}
# Cancel keeps the program: it must still be there a moment later (1 s watched).
watch_end=$(($(now_ms) + 1000))
while [ "$(now_ms)" -lt "$watch_end" ]; do
    still_there || fail "expected VARN and its Cost Estimate window to stay after Cancel; $(alive "$varn_pid" && echo "the window is gone" || echo "the program has ended")"
    sleep 0.05
done
compare_file "$file" "$expected2" "unchanged after Cancel in run 3"

step="run 3: File > Exit, Stop answered No"
wait_until 5 window_active "$main_window" || xdotool windowactivate "$main_window" 2>/dev/null
wait_until 10 window_active "$main_window" || fail "expected the main window to be active after Cancel"
file_exit
wait_for_window '^Stop$' '"Stop" prompt'
xdotool key n
wait_for_exit
compare_file "$file" "$expected2" "unchanged after answering No in run 3"
note "run 3 passed in $(($(now_ms) - start)) ms"

rm -rf "${work:?}/home" "${work:?}/config" "${work:?}/data" "${work:?}/cache" "${work:?}/runtime"
note "PASS: files kept in $work"
exit 0
