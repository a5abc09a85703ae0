#!/usr/bin/env bash
# Builds the Debian package build/package/mitoran_<version>_<arch>.deb.
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/common.sh"

install_missing_packages
build "$ROOT/build/package" Release -DMITORAN_TESTS=OFF -DMITORAN_BENCH=OFF
(cd "$ROOT/build/package" && cpack -G DEB)
ls "$ROOT"/build/package/*.deb
