#!/bin/bash
# End-to-end test: the typing of a run that is killed is not lost.
#
#   recovery_after_kill.sh /path/to/VARN
#
# Run 1: a saved estimate opened from the command line, "Acme" typed into row 1, column 1;
#        once the recovery copy holds it, VARN is killed with kill -9; the file is unchanged.
# Run 2: VARN started again without a file asks to restore the estimate; Enter answers Yes;
#        Ctrl+S saves into the file of run 1 with no dialog, and the file holds the edit
#        byte for byte; File > Exit ends at once and leaves no recovery copy behind.
#
# Exit status: 0 passed, 1 failed, 77 skipped (a tool that the test needs is missing).
# The temporary folder (printed) keeps the files and the logs.

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"

# The copy follows a change after this many milliseconds instead of a minute.
export VARN_RECOVERY_DELAY_MS=300
recovery="$XDG_DATA_HOME/VARN"
file="$work/save/estimate.vrn"
expected_before="$work/expected-before.vrn"
expected_after="$work/expected-after.vrn"
expected_file "" >"$expected_before"
expected_file "Acme" >"$expected_after"
cp "$expected_before" "$file"

copy_holds_the_edit() {
    grep -qs '"Acme"' "$recovery"/*.vrn
}

file_holds_the_edit() {
    cmp -s "$file" "$expected_after"
}

recovery_files() {
    find "$recovery" -type f -printf '%f ' 2>/dev/null
}

# ---------------------------------------------------------------------------------------
# Run 1: an edit, then the program killed

step="run 1: start VARN with the file"
start=$(now_ms)
start_varn 1 "$file"

step="run 1: enter Acme into row 1, column 1"
xdotool key --delay 20 Tab Tab Tab ctrl+Home
xdotool type --delay 20 Acme
xdotool key Return

step="run 1: the recovery copy"
wait_until 20 copy_holds_the_edit \
    || fail "expected a recovery copy holding \"Acme\" in $recovery; found: $(recovery_files)"

step="run 1: kill -9"
kill -9 "$varn_pid"
wait "$varn_pid" 2>/dev/null
varn_pid=
compare_file "$file" "$expected_before" "unchanged after the kill"
note "run 1 passed in $(($(now_ms) - start)) ms"

# ---------------------------------------------------------------------------------------
# Run 2: restored, saved into the file, left normally

step="run 2: start VARN, the Restore question"
start=$(now_ms)
"$varn" >"$work/varn-run2.log" 2>&1 </dev/null &
varn_pid=$!
wait_for_window '^Restore$' '"Restore" question'
xdotool key Return
wait_until 10 window_gone '^Restore$' || fail "expected Enter to close the Restore question; it is still open"
wait_for_window '^Cost Estimate$' '"Cost Estimate" main'

step="run 2: Ctrl+S saves into the file of run 1"
xdotool key ctrl+s
wait_until 10 file_holds_the_edit || {
    [ -z "$(visible_window '^Save Project$')" ] \
        || fail "expected Ctrl+S to save into $file; it asks for a file (Save Project) instead"
    compare_file "$file" "$expected_after" "saved after the estimate was restored"
}
compare_file "$file" "$expected_after" "saved after the estimate was restored"

step="run 2: File > Exit"
file_exit
wait_for_exit
[ -z "$(recovery_files)" ] || fail "expected no recovery files after a normal exit; found: $(recovery_files)"
note "run 2 passed in $(($(now_ms) - start)) ms"

passed
