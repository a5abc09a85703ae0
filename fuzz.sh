#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds (default 30) on its seed corpus.
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/common.sh"
SECONDS_EACH=${1:-30}

install_missing_packages clang libclang-rt-14-dev
CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMITORAN_FUZZ=ON -DMITORAN_TESTS=OFF -DMITORAN_BENCH=OFF
targets=(item_list history settings play_settings quick cp932)
cmake --build "$ROOT/build/fuzz" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

for t in "${targets[@]}"; do
    work="$ROOT/build/fuzz/corpus/$t"
    mkdir -p "$work"
    cp -n "$ROOT/tests/fuzz/corpus/$t"/* "$work/" 2>/dev/null || true
    echo "== fuzz_$t for ${SECONDS_EACH}s"
    "$ROOT/build/fuzz/tests/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 "$work" "$ROOT/tests/fuzz/corpus/$t"
done
echo "fuzzing: all targets clean"
