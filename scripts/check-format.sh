#!/usr/bin/env bash
# Fails when a C++ source differs from what clang-format (the repository's .clang-format) makes
# of it; `clang-format -i <file>` mends it.
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/common.sh"
install_missing_packages clang-format
cd "$ROOT"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "formatting: clean"
