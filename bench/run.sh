#!/bin/bash
# Prints VARN's figures: the core's operations, start-up and peak memory against a bare Qt
# program of the same shape, and the headless export of a full estimate against Gnumeric's
# ssconvert and two floors, the least a Qt program and a program without any toolkit do
# to write a PDF. These are figures, not tests: the script fails only when something cannot
# be measured, never on a slow one.
#
#     run.sh BUILD-DIR VARN BARE-QT MAPWAIT BENCH-CORE WRITE-ESTIMATE QT-PDF-FLOOR
#            PLAIN-PDF-FLOOR EXPORT-STAGES BENCH-BUDGET BENCH-EDIT BARE-QT-LINKED BENCH-DRAWPACKAGE
#
# The programs are built by the `bench` target, which passes their paths. The raw figures
# are kept in BUILD-DIR/bench-results.
set -euo pipefail

if [ $# -ne 13 ]; then
    echo "usage: run.sh BUILD-DIR VARN BARE-QT MAPWAIT BENCH-CORE WRITE-ESTIMATE QT-PDF-FLOOR" \
        "PLAIN-PDF-FLOOR EXPORT-STAGES BENCH-BUDGET BENCH-EDIT BARE-QT-LINKED BENCH-DRAWPACKAGE" >&2
    exit 2
fi
build_dir=$1 varn=$2 bare_qt=$3 mapwait=$4 bench_core=$5 write_estimate=$6
qt_pdf_floor=$7 plain_pdf_floor=$8 export_stages=$9 bench_budget=${10} bench_edit=${11}
bare_qt_linked=${12} bench_drawpackage=${13}

# Odd counts, so that each median is one of the figures measured.
starts=21
# Each first start needs a new home of its own.
first_starts=7
memory_runs=5
# The exports take turns in rounds, each round one run of every command.
export_rounds=25
# A batch of 100 PDFs takes seconds.
batch_rounds=7
batch_sizes="1 10 100"

fail() {
    echo "run.sh: $*" >&2
    exit 1
}

for tool in Xvfb hyperfine /usr/bin/time jq ssconvert; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps.sh installs it"
done
for program in "$varn" "$bare_qt" "$mapwait" "$bench_core" "$write_estimate" "$qt_pdf_floor" "$plain_pdf_floor" \
    "$export_stages" "$bench_budget" "$bench_edit" "$bare_qt_linked" "$bench_drawpackage"; do
    [ -x "$program" ] || fail "$program is not built"
done

results=$build_dir/bench-results
mkdir -p "$results"
: >"$results/hyperfine.log"
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
# run_home, when set, is another home of the same kind.
measured() {
    local in_home=${run_home:-$home}
    env -i PATH="$PATH" DISPLAY="$display" LC_ALL=C.UTF-8 HOME="$in_home" \
        XDG_CONFIG_HOME="$in_home/config" XDG_DATA_HOME="$in_home/data" XDG_CACHE_HOME="$in_home/cache" \
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

echo
echo "== The Budget view after an edit of a full sheet (median of 5 repetitions; a frame is 16 ms) =="
measured "$bench_budget" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/budget.json" --benchmark_out_format=json \
    | grep -Ev '_(mean|stddev|cv) '

echo
echo "== A draw package of 20 attached PDFs of 5 pages each (median of 5 repetitions) =="
measured "$bench_drawpackage" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/drawpackage.json" --benchmark_out_format=json \
    | grep -Ev '_(mean|stddev|cv) '

echo
echo "== The Return that commits an amount, key to repaint, full estimate with 200 draws (median of 5 repetitions) =="
measured "$bench_edit" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/edit.json" --benchmark_out_format=json \
    | grep -Ev '_(mean|stddev|cv) '
edit_median() {
    jq -r --arg name "BM_CommitAnAmount/everyViewOpen:$1_median" \
        '.benchmarks[] | select(.name == $name) | .real_time' "$results/edit.json"
}
echo "   ratio     $(ratio "$(edit_median 1)" "$(edit_median 0)")  (every view open / views closed)"
echo "   ratio     $(ratio "$(edit_median 1)" 16.7)  (every view open / a frame at 60 Hz)"

"$write_estimate" "$work/full.vrn"
cp "$work/full.vrn" "$results/full.vrn"

# The first start of VARN in a new home registers its file type and icon with the desktop,
# once its window is up, which no later start does; the warm-up start waits for that, so that
# the starts measured find the registration in the home as a user's later starts do. One
# warm-up start of each program keeps cold disk caches out of the figures.
register_varn() {
    measured "$varn" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 200); do
        grep -qs '^Assoc=' "$home/config/VARN/VARN.conf" && break
        sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    grep -qs '^Assoc=' "$home/config/VARN/VARN.conf" || fail "VARN did not register its file type"
}
register_varn
measured "$mapwait" "Cost Estimate" "$varn" >/dev/null || fail "VARN did not show its window"
measured "$mapwait" "Bare Qt" "$bare_qt" >/dev/null || fail "bare_qt did not show its window"
measured "$mapwait" "Bare Qt" "$bare_qt_linked" >/dev/null || fail "bare_qt_linked did not show its window"

echo
echo "== Start-up: from the start of the process to its window mapped =="
echo "   (median of $starts starts each, the three programs taking turns, after one warm-up start each)"
# The bare window linked with VARN's libraries has the dynamic loader's work of VARN: what
# VARN takes beyond it is VARN's own, what it takes beyond the bare window the libraries'.
time_varn() {
    measured "$mapwait" "Cost Estimate" "$varn" >>"$results/start-varn.txt" || fail "VARN did not show its window"
}
time_bare() {
    measured "$mapwait" "Bare Qt" "$bare_qt" >>"$results/start-bare.txt" || fail "bare_qt did not show its window"
}
time_bare_linked() {
    measured "$mapwait" "Bare Qt" "$bare_qt_linked" >>"$results/start-bare-linked.txt" \
        || fail "bare_qt_linked did not show its window"
}
: >"$results/start-varn.txt"
: >"$results/start-bare.txt"
: >"$results/start-bare-linked.txt"
for i in $(seq "$starts"); do
    # Each goes first in every third round, so that none always starts after the same one.
    case $((i % 3)) in
    0) time_varn; time_bare; time_bare_linked ;;
    1) time_bare; time_bare_linked; time_varn ;;
    2) time_bare_linked; time_varn; time_bare ;;
    esac
done
varn_start=$(median "$results/start-varn.txt")
bare_start=$(median "$results/start-bare.txt")
bare_linked_start=$(median "$results/start-bare-linked.txt")
printf '   VARN      %8.1f ms\n' "$varn_start"
printf '   bare Qt   %8.1f ms\n' "$bare_start"
printf '   bare Qt linked like VARN %8.1f ms\n' "$bare_linked_start"
echo "   ratio     $(ratio "$varn_start" "$bare_start")  (VARN / bare Qt)"
echo "   ratio     $(ratio "$bare_linked_start" "$bare_start")  (bare Qt linked like VARN / bare Qt: the libraries)"
echo "   ratio     $(ratio "$varn_start" "$bare_linked_start")  (VARN / bare Qt linked like VARN: VARN's own)"
if [ -d "$home/data/icons/hicolor" ]; then
    echo "   (in a home where VARN registered its file type and icon: $(ls "$home/data/icons/hicolor" | wc -l)" \
        "entries in its hicolor folder, icon-theme.cache $([ -f "$home/data/icons/hicolor/icon-theme.cache" ] \
        && echo present || echo absent))"
fi

echo
echo "== First start in a new home, where VARN registers its file type once its window is up =="
echo "   (median of $first_starts starts each, the two programs taking turns, each start in a home of its own)"
: >"$results/first-start-varn.txt"
: >"$results/first-start-bare.txt"
for i in $(seq "$first_starts"); do
    for program in varn bare; do
        mkdir -p "$work/first-$program-$i/config" "$work/first-$program-$i/data" "$work/first-$program-$i/cache"
    done
    run_home=$work/first-varn-$i measured "$mapwait" "Cost Estimate" "$varn" >>"$results/first-start-varn.txt" \
        || fail "VARN did not show its window"
    run_home=$work/first-bare-$i measured "$mapwait" "Bare Qt" "$bare_qt" >>"$results/first-start-bare.txt" \
        || fail "bare_qt did not show its window"
done
first_varn=$(median "$results/first-start-varn.txt")
first_bare=$(median "$results/first-start-bare.txt")
printf '   VARN      %8.1f ms\n' "$first_varn"
printf '   bare Qt   %8.1f ms\n' "$first_bare"
echo "   ratio     $(ratio "$first_varn" "$first_bare")  (VARN / bare Qt)"

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

# Runs the named commands taking turns: one hyperfine run of each command a round, after
# a round of warm-up runs, each round starting one command further on. hyperfine alone
# would run all of one command's runs, then the next command's, and a slow spell of the
# machine would fall on one command only. Keeps the figures of every run, in ms, one a
# line: the wall time in $results/PREFIX-NAME.txt and the processor time (user and system)
# in $results/PREFIX-NAME.cpu.txt, which waiting for a core of a busy machine does not
# lengthen.
#
#     take_turns PREFIX ROUNDS NAME COMMAND [NAME COMMAND]...
take_turns() {
    local prefix=$1 rounds=$2
    shift 2
    local names=() commands=()
    while [ $# -gt 0 ]; do
        names+=("$1")
        commands+=("$2")
        shift 2
    done
    local count=${#names[@]} name round i json arguments
    for name in "${names[@]}"; do
        : >"$results/$prefix-$name.txt"
        : >"$results/$prefix-$name.cpu.txt"
    done
    mkdir -p "$results/$prefix-rounds"
    for round in $(seq 0 "$rounds"); do
        arguments=()
        for i in $(seq 0 $((count - 1))); do
            arguments+=(--command-name "${names[(round + i) % count]}" "${commands[(round + i) % count]}")
        done
        json=$results/$prefix-rounds/$round.json
        # hyperfine's warnings about outliers go to its log: the figures are what is kept.
        measured hyperfine --shell=none --style none --runs 1 --export-json "$json" "${arguments[@]}" \
            >/dev/null 2>>"$results/hyperfine.log" \
            || fail "a command of the $prefix figures failed (see $results/hyperfine.log)"
        # Round 0 warms up: the first start of each program reads its files from the disk.
        if [ "$round" -gt 0 ]; then
            for name in "${names[@]}"; do
                jq -r --arg name "$name" '.results[] | select(.command == $name) | .times[] * 1000' "$json" \
                    >>"$results/$prefix-$name.txt"
                jq -r --arg name "$name" '.results[] | select(.command == $name) | (.user + .system) * 1000' \
                    "$json" >>"$results/$prefix-$name.cpu.txt"
            done
        fi
    done
}

# The median of a command's runs, in ms: turns_median PREFIX NAME [cpu]
turns_median() {
    median "$results/$1-$2${3:+.$3}.txt"
}

# The least of a command's runs, in ms: turns_least PREFIX NAME [cpu]
turns_least() {
    sort -n "$results/$1-$2${3:+.$3}.txt" | head -n 1
}

echo
measured "$varn" --export "$work/full.csv" "$work/full.vrn" || fail "VARN did not export full.vrn to CSV"
cp "$work/full.csv" "$results/full.csv"
echo "== Export of a full estimate ($(stat -c %s "$work/full.vrn") bytes, 38 x 7 cells), whole process =="
echo "   (hyperfine, median of $export_rounds runs each, the commands taking turns, after a warm-up run each;"
echo "   wall time, and processor time: user and system)"
take_turns export "$export_rounds" \
    pdf "'$varn' --export '$work/out.pdf' '$work/full.vrn'" \
    csv "'$varn' --export '$work/out.csv' '$work/full.vrn'" \
    ssconvert "ssconvert '$work/full.csv' '$work/ssconvert.pdf'" \
    qt-floor "'$qt_pdf_floor' '$work/qt-floor.pdf'" \
    plain-floor "'$plain_pdf_floor' '$work/plain-floor.pdf'" \
    stage-exit "'$export_stages' exit" \
    stage-application "'$export_stages' application" \
    stage-font "'$export_stages' font" \
    stage-line "'$export_stages' line '$work/stage-line.pdf'" \
    stage-line-cleanup "'$export_stages' line-cleanup '$work/stage-line-cleanup.pdf'" \
    stage-application-cleanup "'$export_stages' application-cleanup"
for written in out.pdf out.csv ssconvert.pdf qt-floor.pdf plain-floor.pdf stage-line.pdf stage-line-cleanup.pdf; do
    [ -s "$work/$written" ] || fail "$written was not written"
done
# Each figure twice: the wall time, which the targets speak of, and the processor time,
# which holds up better while other programs keep the cores busy.
against_ssconvert() {
    local label=$1 name=$2 compare=$3
    awk -v label="$label" -v wall="$(turns_median export "$name")" -v cpu="$(turns_median export "$name" cpu)" \
        -v wall0="$(turns_median export ssconvert)" -v cpu0="$(turns_median export ssconvert cpu)" -v compare="$compare" \
        'BEGIN {
            if (compare)
                printf "   %-30s %8.1f ms   %5.2f    %8.1f ms   %5.2f\n", label, wall, wall / wall0, cpu, cpu / cpu0
            else
                printf "   %-30s %8.1f ms            %8.1f ms\n", label, wall, cpu
        }'
}
echo "                                    wall time  / ssconvert  processor time  / ssconvert"
against_ssconvert "VARN --export out.pdf" pdf 1
against_ssconvert "VARN --export out.csv" csv 0
against_ssconvert "ssconvert full.csv out.pdf" ssconvert 0
against_ssconvert "Qt floor (qt_pdf_floor)" qt-floor 1
against_ssconvert "plain floor (plain_pdf_floor)" plain-floor 1
echo "   ratio     $(ratio "$(turns_median export pdf)" "$(turns_median export ssconvert)")  (VARN PDF / ssconvert, wall time)"

echo
"$write_estimate" "$work/draws.vrn" 200 || fail "write_estimate did not write draws.vrn"
echo "== The Draw Request of an estimate with 200 recorded draws ($(stat -c %s "$work/draws.vrn") bytes)," \
    "against the one-page report =="
echo "   (hyperfine, median of $export_rounds runs each, the two taking turns; the target: within 1.5 times the report)"
take_turns request "$export_rounds" \
    report "'$varn' --export '$work/report.pdf' '$work/full.vrn'" \
    request "'$varn' --export '$work/request.pdf' --report draw-request --draw 200 '$work/draws.vrn'"
printf '   one-page report   %8.1f ms\n' "$(turns_median request report)"
printf '   Draw Request      %8.1f ms\n' "$(turns_median request request)"
echo "   ratio     $(ratio "$(turns_median request request)" "$(turns_median request report)")  (Draw Request / report, wall time)"

echo
echo "== PDF export: where the whole process's time goes (the same rounds) =="
echo "   (export_stages is linked like VARN, starts as its export does and stops after each stage;"
echo "   each line adds to the one above. The least processor time of each: the stages differ by"
echo "   a few ms, less than the spread that other programs add to a median on a busy machine)"
echo "                                                           total        added   of the PDF"
pdf=$(turns_least export pdf cpu)
stage() {
    awk -v t="$1" -v p="$2" -v all="$pdf" -v label="$3" \
        'BEGIN { printf "   %-50s %8.1f ms  %+7.1f ms  %5.0f %%\n", label, t, t - p, 100 * (t - p) / all }'
}
exit_stage=$(turns_least export stage-exit cpu)
application_stage=$(turns_least export stage-application cpu)
font_stage=$(turns_least export stage-font cpu)
line_stage=$(turns_least export stage-line cpu)
cleanup_stage=$(turns_least export stage-line-cleanup cpu)
stage "$exit_stage" 0 "return at once: load, relocate, start and exit"
stage "$application_stage" "$exit_stage" "+ QGuiApplication, offscreen, no system fonts"
stage "$font_stage" "$application_stage" "+ the report's typeface loaded and measured"
stage "$line_stage" "$font_stage" "+ one line through QPdfWriter"
stage "$cleanup_stage" "$line_stage" "+ Qt's clean-up at exit"
stage "$pdf" "$cleanup_stage" "VARN: the report instead of the line"
apart() {
    awk -v a="$1" -v b="$2" -v label="$3" 'BEGIN { printf "   %-50s %8s     %+7.1f ms\n", label, "", a - b }'
}
apart "$cleanup_stage" "$(turns_least export qt-floor cpu)" "one line as VARN's export - the Qt floor"
apart "$(turns_least export stage-application-cleanup cpu)" "$application_stage" \
    "Qt's clean-up at exit when no font was used"
# The dynamic loader's own count of its work at the start, before any plugin is loaded.
relocations() {
    measured env LD_DEBUG=statistics "$@" 2>&1 >/dev/null | awk '
        / number of relocations:/ && !symbols { symbols = $NF }
        /number of relative relocations/ && !relative { relative = $NF }
        END { printf "%d symbol and %d relative relocations", symbols, relative }'
}
echo "   At start, VARN loads $(ldd "$varn" | grep -c '=>') libraries with" \
    "$(relocations "$varn" --export "$work/out.pdf" "$work/full.vrn"),"
echo "   the Qt floor $(ldd "$qt_pdf_floor" | grep -c '=>') with $(relocations "$qt_pdf_floor" "$work/qt-floor.pdf")"

echo
echo "== Batch export: one process exporting N copies of the full estimate =="
help=$(measured "$varn" --help 2>&1 || true)
case "$help" in
    *--export-dir*)
        echo "   (hyperfine, median of $batch_rounds runs each, the commands taking turns, after a warm-up run each)"
        mkdir -p "$work/batch"
        inputs=()
        for i in $(seq -w 1 100); do
            cp "$work/full.vrn" "$work/batch/estimate-$i.vrn"
            inputs+=("'$work/batch/estimate-$i.vrn'")
        done
        batch_commands=()
        for format in pdf csv; do
            for size in $batch_sizes; do
                mkdir -p "$work/batch-$format-$size"
                batch_commands+=("$format-$size"
                    "'$varn' --export-dir '$work/batch-$format-$size' --format $format ${inputs[*]:0:size}")
            done
        done
        take_turns batch "$batch_rounds" "${batch_commands[@]}"
        echo "                     wall time     per file   processor time     per file"
        for format in pdf csv; do
            for size in $batch_sizes; do
                written=$(find "$work/batch-$format-$size" -name "*.$format" -size +0 | wc -l)
                [ "$written" -eq "$size" ] || fail "the batch of $size wrote $written ${format^^} files"
                awk -v wall="$(turns_median batch "$format-$size")" -v cpu="$(turns_median batch "$format-$size" cpu)" \
                    -v n="$size" -v f="${format^^}" 'BEGIN {
                        printf "   %s, %3d file%s %10.1f ms %9.1f ms %13.1f ms %9.1f ms\n",
                            f, n, n == 1 ? " " : "s", wall, wall / n, cpu, cpu / n
                    }'
            done
            awk -v wall1="$(turns_median batch "$format-1")" -v wall100="$(turns_median batch "$format-100")" \
                -v cpu1="$(turns_median batch "$format-1" cpu)" -v cpu100="$(turns_median batch "$format-100" cpu)" \
                -v f="${format^^}" 'BEGIN {
                    printf "   %s, each file beyond the first %9.1f ms %23.1f ms   ((t100 - t1) / 99)\n",
                        f, (wall100 - wall1) / 99, (cpu100 - cpu1) / 99
                }'
        done
        ;;
    *)
        echo "   batch export: not available in this build"
        ;;
esac

echo
echo "Raw figures: $results"
