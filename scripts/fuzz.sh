#!/usr/bin/env bash
# Builds the fuzzers with clang in BUILD_DIR and runs each for SECONDS: the intake's from seeds
# written at run time, the plan reader's from the plans in tests/fuzz/plan_seeds. Fails on any
# crash, sanitizer report, leak, time-out or broken invariant. It opens no socket.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR SECONDS" >&2; exit 2; }
cd "$(dirname "$0")/.."
build_dir=$1
seconds=$2

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTRELINK_FUZZ=ON -DKESTRELINK_BENCH=OFF
cmake --build "$build_dir" --target intake_fuzz intake_fuzz_seeds plan_fuzz

artifacts="$build_dir/fuzz/artifacts/"
mkdir -p "$artifacts"

# Runs fuzzer NAME from the starting-input folders given; new inputs go to NAME's corpus, which later
# runs in the same BUILD_DIR start from.
run_fuzzer() { # NAME SEEDS...
    local name=$1
    shift
    local corpus="$build_dir/fuzz/$name-corpus"
    mkdir -p "$corpus"
    "$build_dir/tests/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 \
        -artifact_prefix="$artifacts$name-" -print_final_stats=1 "$corpus" "$@"
}

seeds="$build_dir/fuzz/intake-seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
"$build_dir/tests/fuzz/intake_fuzz_seeds" "$seeds"
run_fuzzer intake "$seeds"
run_fuzzer plan tests/fuzz/plan_seeds
