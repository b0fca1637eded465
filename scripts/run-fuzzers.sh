#!/bin/sh
# Runs each fuzz target for a while on a working copy of its seed corpus; any crash,
# leak or sanitizer report fails the run.
set -eu
build=$1
seconds=${2:-300}
source=$(cd "$(dirname "$0")/.." && pwd)
for target in fuzz_estimatefile fuzz_money; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    seeds="$source/fuzz/corpus/${target#fuzz_}"
    # The file reader's seeds include a history that spans several of its read buffers.
    max_len=65536
    [ "$target" = fuzz_estimatefile ] && max_len=131072
    echo "fuzz: $target for $seconds s"
    "$build/fuzz/$target" -max_total_time="$seconds" -max_len=$max_len -print_final_stats=1 \
        -artifact_prefix="$build/" "$corpus" "$seeds"
done
