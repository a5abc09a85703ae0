#!/usr/bin/env bash
# Builds the Debian package build/package/mitoran_<version>_<arch>.deb and checks what it installs.
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/common.sh"

install_missing_packages
build package
(cd "$ROOT/build/package" && cpack -G DEB)
deb=$(ls -t "$ROOT"/build/package/mitoran_*.deb | head -1)
sh "$ROOT/tests/install/test_install.sh" --deb "$deb"
echo "$deb"
