#!/usr/bin/env bash
# Installs what is missing, builds a Release build, prepares workdir/ and starts ミトラン there.
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/common.sh"

install_missing_packages
build release

# First run only: the sample data. A folder that already has an item list is the user's data
# and is never overwritten.
mkdir -p "$ROOT/workdir"
if ! ls "$ROOT/workdir" | grep -qi '^項目一覧\.txt$'; then
    cp -n "$ROOT"/sample/* "$ROOT/workdir/"
fi
cd "$ROOT/workdir"
exec "$ROOT/build/release/mitoran"
