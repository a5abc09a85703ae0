#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds (default 30) on its seed corpus.
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/common.sh"
SECONDS_EACH=${1:-30}

# libFuzzer's runtime comes in a package named after clang's major version: ask the clang that is
# installed which one it needs.
install_missing_packages clang
clang_major=$(clang++ -dumpversion | cut -d. -f1)
install_missing_packages "libclang-rt-${clang_major}-dev"
targets=(item_list history settings play_settings quick cp932)
(cd "$ROOT" && cmake --preset fuzz &&
    cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}")

for t in "${targets[@]}"; do
    work="$ROOT/build/fuzz/corpus/$t"
    mkdir -p "$work"
    cp -n "$ROOT/tests/fuzz/corpus/$t"/* "$work/" 2>/dev/null || true
    echo "== fuzz_$t for ${SECONDS_EACH}s"
    "$ROOT/build/fuzz/tests/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 "$work" "$ROOT/tests/fuzz/corpus/$t"
done
echo "fuzzing: all targets clean"
