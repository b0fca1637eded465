#!/bin/bash
# End-to-end test: the window comes up with its whole frame, title bar and buttons included, on
# the screen: at the first start, where the window manager places it, and at the next, where it
# was left. Drives the real VARN program in a real X session under openbox.
#
#   window_frame.sh /path/to/VARN
#
# Exit status: 0 passed, 1 failed, 77 skipped (a tool that the test needs is missing).

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"

command -v xwininfo >/dev/null || {
    echo "SKIP: xwininfo is not installed (Debian package x11-utils)"
    exit 77
}

# The frame's outer edges as the window manager drew it around the client area, from the
# frame extents it announces: "left top right bottom".
frame_edges() {
    { xwininfo -id "$1"; xwininfo -wm -id "$1"; } | awk '
        /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
        /Frame extents:/ { gsub(",", ""); l = $3; r = $4; t = $5; b = $6 }
        END { print x - l, y - t, x + w + r, y + h + b }'
}

frame_on_screen() {
    local left top right bottom
    read -r left top right bottom <<<"$(frame_edges "$1")"
    frame_report="frame from ($left, $top) to ($right, $bottom) on a 1280x1024 screen"
    [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le 1280 ] && [ "$bottom" -le 1024 ]
}

# The window manager has framed the window: it announces a title bar above the client area.
has_title_bar() {
    xwininfo -wm -id "$1" | awk '/Frame extents:/ { gsub(",", ""); found = $5 > 0 } END { exit !found }'
}

for run in 1 2; do
    step="start $run: the whole frame on the screen"
    start_varn "$run"
    # The frame is final once the window manager has decorated the window.
    wait_until 10 has_title_bar "$main_window" || fail "expected openbox to give the window a title bar"
    # The program moves its window once it learns of the frame, which on a busy machine (or
    # under the sanitizers) can come a moment after the title bar is drawn.
    wait_until 5 frame_on_screen "$main_window" || fail "expected the whole frame on the screen; $frame_report"
    # The screen as the user sees it, kept for a look.
    xwd -silent -root -out "$work/shot.xwd" && convert "xwd:$work/shot.xwd" "png:$work/start$run.png"
    rm -f "$work/shot.xwd"
    [ "$run" -eq 1 ] && xdotool windowmove "$main_window" 30 200
    sleep 0.3
    step="start $run: File > Exit"
    file_exit
    wait_for_exit
done

passed
