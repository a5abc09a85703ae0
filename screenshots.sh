#!/usr/bin/env bash
# Regenerates docs/*.png (every screen on the first-run data, in a virtual X display) and the
# launcher icon PNGs under packaging/icons/hicolor.
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/common.sh"

install_missing_packages xvfb xauth
build screenshots
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$ROOT/build/screenshots/tools/screenshots" "$ROOT/sample" "$ROOT/docs" \
    "$ROOT/packaging/icons/hicolor"
