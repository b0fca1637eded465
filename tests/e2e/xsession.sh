#!/bin/bash
# The shared part of the end-to-end tests, sourced by each of them with the path of the VARN
# program as their first argument: checks the tools, starts a real X session (Xvfb with the
# openbox window manager) and defines the helpers that drive VARN from outside, with the
# keyboard, as a user would. Everything is cleaned up when the test ends.
#
# Exit status of a test: 0 passed, 1 failed, 77 skipped (a tool that the test needs is missing).
# The temporary folder (printed) keeps the screenshots, the saved files and the logs of a
# failed test, or of any test with VARN_E2E_KEEP=1; a test that passed leaves nothing behind.

# Functions called through wait_until look unreachable to shellcheck.
# shellcheck disable=SC2317
set -u

varn=${1:-}
if [ -z "$varn" ]; then
    echo "usage: $0 /path/to/VARN" >&2
    exit 2
fi

for tool_package in Xvfb:xvfb xdotool:xdotool openbox:openbox xwd:x11-apps convert:imagemagick \
    identify:imagemagick python3:python3; do
    if ! command -v "${tool_package%%:*}" >/dev/null 2>&1; then
        echo "SKIP: ${tool_package%%:*} is not installed (Debian package ${tool_package#*:})"
        exit 77
    fi
done

if [ ! -x "$varn" ]; then
    echo "FAIL: [setup] expected an executable VARN program at '$varn'" >&2
    exit 1
fi
varn=$(cd "$(dirname "$varn")" && pwd)/$(basename "$varn")

work=$(mktemp -d "${TMPDIR:-/tmp}/varn-e2e.XXXXXX") || exit 1
step=setup
xvfb_pid=
openbox_pid=
varn_pid=
display=

# ---------------------------------------------------------------------------------------
# Reporting and clean-up

note() {
    printf 'e2e: %s\n' "$*"
}

# The process is still there and not merely waiting to be reaped.
alive() {
    [ -n "$1" ] && kill -0 "$1" 2>/dev/null || return 1
    local state
    state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 1
    [ "$state" != Z ]
}

stop_process() {
    local pid=$1
    [ -n "$pid" ] || return 0
    if alive "$pid"; then
        kill "$pid" 2>/dev/null
        for _ in $(seq 1 40); do
            alive "$pid" || break
            sleep 0.05
        done
        alive "$pid" && kill -9 "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
    return 0
}

cleanup() {
    stop_process "$varn_pid"
    stop_process "$openbox_pid"
    stop_process "$xvfb_pid"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "FAIL: [$step] $*" >&2
    if [ -n "$display" ] && alive "$xvfb_pid"; then
        echo "  visible windows:" >&2
        local id
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            echo "    $id '$(xdotool getwindowname "$id" 2>/dev/null)'" >&2
        done
        echo "  active window: $(xdotool getactivewindow 2>/dev/null || echo none)" >&2
        if xwd -silent -root -out "$work/failure.xwd" 2>/dev/null \
            && convert "xwd:$work/failure.xwd" "png:$work/failure.png" 2>/dev/null; then
            rm -f "$work/failure.xwd"
            echo "  screenshot of the screen: $work/failure.png" >&2
        fi
    fi
    local log
    for log in "$work"/varn-run*.log; do
        [ -s "$log" ] || continue
        echo "  last lines of $log:" >&2
        tail -n 15 "$log" | sed 's/^/    /' >&2
    done
    echo "  files kept in $work" >&2
    exit 1
}

passed() {
    if [ -n "${VARN_E2E_KEEP:-}" ]; then
        rm -rf "${work:?}/home" "${work:?}/config" "${work:?}/data" "${work:?}/cache" "${work:?}/runtime"
        note "PASS: files kept in $work"
    else
        rm -rf "${work:?}"
        note "PASS"
    fi
    exit 0
}

# ---------------------------------------------------------------------------------------
# Polling

now_ms() {
    local t=${EPOCHREALTIME/[.,]/}
    echo $((t / 1000))
}

# wait_until SECONDS COMMAND...: true once COMMAND succeeds, false when the time is up.
wait_until() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(now_ms)" -ge "$deadline" ] && return 1
        sleep 0.05
    done
    return 0
}

# The id of the first visible window whose whole name matches the anchored regular expression.
visible_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

found_window=
window_visible() {
    found_window=$(visible_window "$1")
    [ -n "$found_window" ]
}

window_gone() {
    [ -z "$(visible_window "$1")" ]
}

window_active() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]
}

# Waits for the window named by the regular expression, returns its id in found_window and
# makes sure that it has the keyboard focus.
# The window, or the end of VARN: no use waiting for a window that will never come.
window_visible_or_varn_ended() {
    window_visible "$1" || ! alive "$varn_pid"
}

wait_for_window() {
    local name=$1 what=$2
    wait_until 20 window_visible_or_varn_ended "$name" \
        || fail "expected the $what window ('$name') to appear within 20 s; it did not"
    if [ -z "$found_window" ]; then
        wait "$varn_pid"
        local status=$?
        varn_pid=
        fail "expected the $what window ('$name'); VARN ended first, with status $status"
    fi
    local id=$found_window
    # The window manager gives new windows the focus; asking again does no harm.
    if ! wait_until 2 window_active "$id"; then
        xdotool windowactivate "$id" 2>/dev/null
        wait_until 10 window_active "$id" \
            || fail "expected the $what window $id to become active; the active window is $(xdotool getactivewindow 2>/dev/null)"
    fi
    found_window=$id
}

varn_windows() {
    xdotool search --onlyvisible --pid "$varn_pid" '' 2>/dev/null | wc -l
}

more_varn_windows_than() {
    [ "$(varn_windows)" -gt "$1" ]
}

# File > Exit from the keyboard: Alt+F opens the menu, x is the mnemonic of E&xit.
file_exit() {
    local before
    before=$(varn_windows)
    xdotool key alt+f
    wait_until 10 more_varn_windows_than "$before" \
        || fail "expected Alt+F to open the File menu (a new window of VARN); none appeared"
    xdotool key x
}

varn_ended() {
    ! alive "$varn_pid"
}

# Waits for VARN to end by itself and checks that it ended well.
wait_for_exit() {
    if ! wait_until 15 varn_ended; then
        [ -z "$(visible_window '^Stop$')" ] \
            || fail "expected VARN (pid $varn_pid) to end by itself; it asks \"Do you want to save your Current document?\" (Stop) instead"
        fail "expected VARN (pid $varn_pid) to end by itself within 15 s; it is still running"
    fi
    wait "$varn_pid"
    local status=$?
    varn_pid=
    [ "$status" -eq 0 ] || fail "expected VARN to exit with status 0; it exited with $status"
}

# Starts VARN with the given arguments, its output in the run's log, and waits for its window.
start_varn() {
    local run=$1
    shift
    "$varn" "$@" >"$work/varn-run$run.log" 2>&1 </dev/null &
    varn_pid=$!
    wait_for_window '^Cost Estimate$' '"Cost Estimate" main'
    main_window=$found_window
    alive "$varn_pid" || fail "expected VARN to be running; it has ended"
}

# ---------------------------------------------------------------------------------------
# The expected file

categories=(
    "Permits, Fees, Surveys" "Utilities" "Excavation" "Foundation" "Rough Lumber"
    "Rough Labor" "Windows/Ext. Doors" "Roofing" "Concrete Flatwork" "Siding"
    "Plumbing" "Heating" "Electrical" "Insulation" "Water (Well)"
    "Sewer (Septic)" "Fireplace" "Drywall" "Cabinets" "Interior Trim"
    "Interior Trim Labor" "Painting" "Appliances" "Light Fixtures" "Floor Coverings"
    "Driveway" "Garage Door" "Land" "Misc." "Other"
)

# expected_file FIRST_CELL: the bytes that Save writes after 1500 in row 5's
# "Original Cost Estimate", with FIRST_CELL in row 1's "Subcontractor, Supplier".
expected_file() {
    # shellcheck disable=SC2016 # a dollar sign, not an expansion
    local first_cell=$1 row description amount='$1,500.00'
    printf '2,4,6\r\n'
    printf '"","",""\r\n'
    for row in $(seq 1 36); do
        description=${categories[row - 1]:-}
        if [ "$row" -eq 1 ]; then
            printf '"%s","%s","","","","",""\r\n' "$first_cell" "$description"
        elif [ "$row" -eq 5 ]; then
            printf '"","%s","%s","%s","","","%s"\r\n' "$description" "$amount" "$amount" "$amount"
        else
            printf '"","%s","","","","",""\r\n' "$description"
        fi
    done
}

# compare_file ACTUAL EXPECTED WHAT
compare_file() {
    local actual=$1 expected=$2 what=$3
    [ -f "$actual" ] || fail "expected the file $actual ($what); it does not exist"
    if ! cmp -s "$actual" "$expected"; then
        {
            echo "FAIL: [$step] expected $actual ($what) to hold exactly the bytes of $expected"
            echo "  sizes: found $(wc -c <"$actual"), expected $(wc -c <"$expected")"
            echo "  first differing bytes (offset, found octal, expected octal):"
            cmp -l "$actual" "$expected" 2>&1 | head -n 10 | sed 's/^/    /'
            echo "  lines that differ (< found, > expected; CR shown as ^M):"
            diff <(cat -v "$actual") <(cat -v "$expected") | head -n 20 | sed 's/^/    /'
        } >&2
        fail "the saved file differs from the expected one"
    fi
}

saved_files() {
    find "$work/save" -mindepth 1 -printf '%f '
}

file_size=-1
file_stable() {
    [ -f "$1" ] || return 1
    local size
    size=$(wc -c <"$1")
    if [ "$size" = "$file_size" ] && [ "$size" -gt 0 ]; then
        return 0
    fi
    file_size=$size
    return 1
}

# ---------------------------------------------------------------------------------------
# Screenshots

screenshot_ok() {
    local id=$1 png=$2 colours deviation
    xwd -silent -id "$id" -out "$work/shot.xwd" 2>/dev/null || return 1
    convert "xwd:$work/shot.xwd" "png:$png" 2>/dev/null || return 1
    rm -f "$work/shot.xwd"
    colours=$(identify -format '%k' "$png" 2>/dev/null) || return 1
    deviation=$(identify -format '%[fx:standard_deviation*1000000]' "$png" 2>/dev/null) || return 1
    shot_report="$colours colours, standard deviation $deviation/1000000"
    [ "${colours:-0}" -gt 16 ] && [ "${deviation%%.*}" -gt 0 ]
}

# ---------------------------------------------------------------------------------------
# The X session

step="start the X session"
mkdir -p "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime" "$work/save"
chmod 0700 "$work/runtime"
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=xcb
# Qt's own widget dialogs, the same on every machine: no desktop's platform theme.
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
unset XAUTHORITY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER WAYLAND_DISPLAY
export NO_AT_BRIDGE=1

xvfb_ready() {
    alive "$xvfb_pid" || return 0 # ends the wait; the caller looks again
    local lock_pid
    lock_pid=$(tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock")
    [ "$lock_pid" = "$xvfb_pid" ] && DISPLAY=":$1" xdotool getdisplaygeometry >/dev/null 2>&1
}

first=$((90 + $$ % 100))
for n in $(seq "$first" $((first + 60))); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 </dev/null &
    xvfb_pid=$!
    if wait_until 10 xvfb_ready "$n" && alive "$xvfb_pid"; then
        display=":$n"
        break
    fi
    # Taken meanwhile by another server, or not started: the next number.
    stop_process "$xvfb_pid"
    xvfb_pid=
done
[ -n "$display" ] || fail "expected Xvfb to start on a free display from :$first on; see $work/xvfb.log"
export DISPLAY="$display"
note "Xvfb on $DISPLAY (pid $xvfb_pid); files in $work"

openbox --sm-disable >"$work/openbox.log" 2>&1 </dev/null &
openbox_pid=$!
wm_ready() {
    alive "$openbox_pid" && xdotool get_desktop >/dev/null 2>&1
}
wait_until 10 wm_ready || fail "expected openbox to manage the screen within 10 s; see $work/openbox.log"
# The pointer out of the way, in a corner where no window is placed: no tool tip or advice
# opens under it.
xdotool mousemove 1279 1023

