#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
#   ./test.sh             Release build, every test
#   ./test.sh --sanitize  the same built with AddressSanitizer and UndefinedBehaviorSanitizer
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/common.sh"

install_missing_packages "${DESKTOP_PACKAGES[@]}"
if [ "${1:-}" = "--sanitize" ]; then
    build "$ROOT/build/sanitize" Debug -DMITORAN_SANITIZE=ON -DMITORAN_TESTS=ON -DMITORAN_BENCH=OFF
    # Qt and fontconfig keep caches for the life of the process; leaks are checked by the fuzzers
    # on the Qt-free code instead.
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # The soak test measures memory growth, which the sanitizer's quarantine of freed memory
    # would swamp; the real-window suite times what a user sees, which the sanitizer slows. Both
    # run in the normal pass.
    ctest --test-dir "$ROOT/build/sanitize" --output-on-failure -E '^(test_soak|e2e_desktop)$'

else
    build "$ROOT/build/test" Release -DMITORAN_TESTS=ON -DMITORAN_BENCH=ON
    ctest --test-dir "$ROOT/build/test" --output-on-failure
fi
