#!/usr/bin/env bash
# Builds the intake fuzzer with clang in BUILD_DIR and runs it for SECONDS, starting from seeds
# written at run time. Fails on any crash, sanitizer report, leak, time-out or broken invariant.
# It opens no socket.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR SECONDS" >&2; exit 2; }
cd "$(dirname "$0")/.."
build_dir=$1
seconds=$2

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTRELINK_FUZZ=ON -DKESTRELINK_BENCH=OFF
cmake --build "$build_dir" --target intake_fuzz intake_fuzz_seeds

seeds="$build_dir/fuzz/intake-seeds"
corpus="$build_dir/fuzz/intake-corpus"
artifacts="$build_dir/fuzz/artifacts/"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$artifacts"
"$build_dir/tests/fuzz/intake_fuzz_seeds" "$seeds"

# New inputs go to the corpus, which later runs in the same BUILD_DIR start from.
"$build_dir/tests/fuzz/intake_fuzz" -max_total_time="$seconds" -timeout=10 \
    -artifact_prefix="$artifacts" -print_final_stats=1 "$corpus" "$seeds"
