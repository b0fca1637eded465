#!/bin/bash
# Prints VARN's figures: the core's operations, start-up and peak memory against a bare Qt
# program of the same shape, and the headless export of a full estimate. These are figures,
# not tests: the script fails only when something cannot be measured, never on a slow one.
#
#     run.sh BUILD-DIR VARN BARE-QT MAPWAIT BENCH-CORE WRITE-ESTIMATE
#
# The programs are built by the `bench` target, which passes their paths. The raw figures
# are kept in BUILD-DIR/bench-results.
set -euo pipefail

if [ $# -ne 6 ]; then
    echo "usage: run.sh BUILD-DIR VARN BARE-QT MAPWAIT BENCH-CORE WRITE-ESTIMATE" >&2
    exit 2
fi
build_dir=$1 varn=$2 bare_qt=$3 mapwait=$4 bench_core=$5 write_estimate=$6

# Odd counts, so that each median is one of the figures measured.
starts=21
memory_runs=5
export_runs=11

fail() {
    echo "run.sh: $*" >&2
    exit 1
}

for tool in Xvfb hyperfine /usr/bin/time; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps.sh installs it"
done
for program in "$varn" "$bare_qt" "$mapwait" "$bench_core" "$write_estimate"; do
    [ -x "$program" ] || fail "$program is not built"
done

results=$build_dir/bench-results
mkdir -p "$results"
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

median() {
    sort -n "$1" | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

# A display of our own; -displayfd picks a free number and writes it once the server is
# ready. -noreset keeps the server as it is when the last program of a run disconnects.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    grep -q . "$work/display" 2>/dev/null && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
done
grep -q . "$work/display" || fail "Xvfb did not become ready"
display=:$(cat "$work/display")

# The programs run in an environment of their own: a new home, so that nothing the user
# has set up (settings, recent files, a desktop session, its themes) affects the figures.
# There is no session bus, and "disabled:" keeps Qt's D-Bus library from launching one at
# each start. No window manager runs, which mapwait needs.
home=$work/home
mkdir -p "$home/config" "$home/data" "$home/cache" "$work/runtime"
chmod 700 "$work/runtime"
measured() {
    env -i PATH="$PATH" DISPLAY="$display" LC_ALL=C.UTF-8 HOME="$home" \
        XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
        XDG_RUNTIME_DIR="$work/runtime" DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb "$@"
}

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
echo "VARN figures, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: $(nproc) cores, $cpu, $memory RAM, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Display: Xvfb $display, no window manager"

echo
echo "== Core operations (Google Benchmark; median of 5 repetitions, wall time per operation) =="
# The console shows the medians; the JSON file keeps every repetition and aggregate.
measured "$bench_core" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/core.json" --benchmark_out_format=json \
    | grep -Ev '_(mean|stddev|cv) '

"$write_estimate" "$work/full.vrn"
cp "$work/full.vrn" "$results/full.vrn"

# The first start of VARN in a new home registers its file type with the desktop, which no
# later start does; one warm-up start of each program keeps that, and cold disk caches,
# out of the figures.
measured "$mapwait" "Cost Estimate" "$varn" >/dev/null || fail "VARN did not show its window"
measured "$mapwait" "Bare Qt" "$bare_qt" >/dev/null || fail "bare_qt did not show its window"

echo
echo "== Start-up: from the start of the process to its window mapped =="
echo "   (median of $starts starts each, the two programs taking turns, after one warm-up start each)"
time_varn() {
    measured "$mapwait" "Cost Estimate" "$varn" >>"$results/start-varn.txt" || fail "VARN did not show its window"
}
time_bare() {
    measured "$mapwait" "Bare Qt" "$bare_qt" >>"$results/start-bare.txt" || fail "bare_qt did not show its window"
}
: >"$results/start-varn.txt"
: >"$results/start-bare.txt"
for i in $(seq "$starts"); do
    # Each goes first in every other pair, so that neither always starts after the other.
    if [ $((i % 2)) -eq 1 ]; then
        time_varn
        time_bare
    else
        time_bare
        time_varn
    fi
done
varn_start=$(median "$results/start-varn.txt")
bare_start=$(median "$results/start-bare.txt")
printf '   VARN      %8.1f ms\n' "$varn_start"
printf '   bare Qt   %8.1f ms\n' "$bare_start"
echo "   ratio     $(ratio "$varn_start" "$bare_start")  (VARN / bare Qt)"

echo
echo "== Peak memory: maximum resident set size up to the window's map =="
echo "   (median of $memory_runs starts each, from /usr/bin/time -v)"
# time must wrap the program itself to report on it, and must outlive it to write the
# report. mapwait starts `time PROGRAM`, and once the window is mapped it sends SIGTERM to
# the process that owns the window (its _NET_WM_PID): the program, not time. The program
# dies of the signal at once, and time writes the largest resident set it had.
peak_rss() {
    local name=$1 program=$2 out=$3
    : >"$out"
    for _ in $(seq "$memory_runs"); do
        measured "$mapwait" "$name" /usr/bin/time -v -o "$work/time.txt" "$program" >/dev/null \
            || fail "$program did not show its window"
        sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$work/time.txt" >>"$out"
    done
    [ -s "$out" ] || fail "/usr/bin/time reported no maximum resident set size"
}
peak_rss "Cost Estimate" "$varn" "$results/rss-varn.txt"
peak_rss "Bare Qt" "$bare_qt" "$results/rss-bare.txt"
varn_rss=$(median "$results/rss-varn.txt")
bare_rss=$(median "$results/rss-bare.txt")
printf '   VARN      %8d kB\n' "$varn_rss"
printf '   bare Qt   %8d kB\n' "$bare_rss"
echo "   ratio     $(ratio "$varn_rss" "$bare_rss")  (VARN / bare Qt)"

echo
echo "== Export of a full estimate (every cell filled, $(stat -c %s "$work/full.vrn") bytes), whole process =="
echo "   (hyperfine, median of $export_runs runs after 2 warm-up runs)"
measured hyperfine --shell=none --warmup 2 --runs "$export_runs" --style none \
    --export-csv "$results/export.csv" --export-json "$results/export.json" \
    --command-name pdf "'$varn' --export '$work/out.pdf' '$work/full.vrn'" \
    --command-name csv "'$varn' --export '$work/out.csv' '$work/full.vrn'"
# The CSV holds seconds: command,mean,stddev,median,user,system,min,max.
awk -F, 'NR > 1 { printf "   %-4s      %8.1f ms   (min %.1f, max %.1f)\n", toupper($1), $4 * 1000, $7 * 1000, $8 * 1000 }' \
    "$results/export.csv"
[ -s "$work/out.pdf" ] && [ -s "$work/out.csv" ] || fail "VARN --export wrote no file"

echo
echo "Raw figures: $results"
