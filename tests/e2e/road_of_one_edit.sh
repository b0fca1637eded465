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
# Run 4: 12345678.90 typed into row 1's "Total of Previous Payment"; a screenshot of the
#        sheet scrolled to its end must show the Total row's amount whole, with its $, and
#        the negative cost to complete, too wide for its cell, as ###.
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

# ---------------------------------------------------------------------------------------
# Run 4: a Total in the millions, as the screen shows it

# total_cells PNG: what the Total row's "Total of Previous Payment" and "Estimated Cost to
# Complete" cells show, one word each: "amount" for a text that begins with a $ (its first
# glyph reaches above and below the digits), "hashes" for a short run of ink that does not,
# "cut" otherwise. The cells are found by the sheet's light grey cell lines; after Ctrl+End
# the Total row is the last row of the sheet, and its cells end at the last lines.
total_cells() {
    local size
    size=$(identify -format '%w %h' "$1") || return 1
    convert "$1" -depth 8 "rgb:$work/total.rgb" || return 1
    # shellcheck disable=SC2086 # the width and the height, two arguments
    python3 - "$work/total.rgb" $size <<'PYTHON'
import sys

pixels = open(sys.argv[1], 'rb').read()
width, height = int(sys.argv[2]), int(sys.argv[3])
def rgb(x, y):
    i = 3 * (y * width + x)
    return pixels[i], pixels[i + 1], pixels[i + 2]
def grey_line(x, y):
    return rgb(x, y) == (192, 192, 192)
def grey(x, y):
    r, g, b = rgb(x, y)
    return 0.299 * r + 0.587 * g + 0.114 * b
def ink(x, y):
    return grey(x, y) < 100

def runs(values):
    found = []
    for v in values:
        if found and found[-1][1] == v - 1:
            found[-1][1] = v
        else:
            found.append([v, v])
    return found

def longest(count, along, is_line):
    best = 0
    current = 0
    for j in range(along):
        current = current + 1 if is_line(j) else 0
        best = max(best, current)
    return best

columns = [x for x in range(width) if longest(x, height, lambda y: grey_line(x, y)) > 150]
rows = [y for y in range(height) if longest(y, width, lambda x: grey_line(x, y)) > 300]
vertical = runs(columns)
horizontal = runs(rows)
if len(vertical) < 4 or len(horizontal) < 2:
    print("no sheet found: %d vertical, %d horizontal cell lines" % (len(vertical), len(horizontal)))
    sys.exit(1)
top, bottom = horizontal[-2][1] + 1, horizontal[-1][0] - 1

def cell(left, right):
    area = [(x, y) for x in range(left, right + 1) for y in range(top, bottom + 1)]
    inked = sorted({x for x, y in area if ink(x, y)})
    if not inked:
        return "empty"
    glyphs = runs(inked)
    # With the smoothed ends of the strokes: the $ reaches beyond the digits by a pixel or two.
    def extent(run):
        ys = [y for x in range(run[0], run[1] + 1) for y in range(top, bottom + 1) if grey(x, y) < 200]
        return max(ys) - min(ys) + 1
    if inked[0] <= left + 1:
        return "cut"
    if extent(glyphs[0]) > extent(glyphs[-1]) + 1:
        return "amount"
    if inked[-1] - inked[0] < (right - left) * 2 // 5:
        return "hashes"
    return "cut"

# Columns 5 and 7 of the sheet: the third and the last from the right.
payment = cell(vertical[-4][1] + 1, vertical[-3][0] - 1)
to_complete = cell(vertical[-2][1] + 1, vertical[-1][0] - 1)
print(payment, to_complete)
PYTHON
}

step="run 4: start VARN"
start=$(now_ms)
start_varn 4

step="run 4: enter 12345678.90 into row 1, column 5"
xdotool key --delay 20 Tab Tab Tab ctrl+Home Right Right Right Right
xdotool type --delay 20 12345678.90
# To the end of the sheet, then up a row: the Total row shows without the current cell's frame.
xdotool key Return ctrl+End Up

step="run 4: screenshot of the Total row"
shot="$work/run4-total.png"
shot_report="no screenshot"
total_seen=
total_shown() {
    screenshot_ok "$main_window" "$shot" || return 1
    total_seen=$(total_cells "$shot")
    [ "$total_seen" = "amount hashes" ]
}
wait_until 10 total_shown \
    || fail "expected the Total row to show \$12,345,678.90 whole (its first glyph a \$) and the too wide (\$12,345,678.90) as ###; seen: ${total_seen:-nothing} ($shot)"
note "screenshot of run 4: $shot (Total row: $total_seen)"

step="run 4: File > Exit, Stop answered No"
file_exit
wait_for_window '^Stop$' '"Stop" prompt'
xdotool key n
wait_for_exit
note "run 4 passed in $(($(now_ms) - start)) ms"

passed
