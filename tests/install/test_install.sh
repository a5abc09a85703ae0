#!/bin/sh
# Installs into a temporary root and checks the layout, the desktop entry and the launcher.
#   test_install.sh BUILD_DIR       installs the build with DESTDIR
#   test_install.sh --deb FILE.deb  unpacks the package instead (dpkg -x)
set -eu
root=$(mktemp -d /tmp/mitoran-install-XXXXXX)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

if [ "$1" = "--deb" ]; then
    dpkg -x "$2" "$root/dest"
    dpkg-deb -f "$2" Depends | grep -q libqcustomplot || fail "package does not depend on QCustomPlot"
else
    DESTDIR="$root/dest" cmake --install "$1" --prefix /usr >/dev/null
fi
d="$root/dest/usr"
for f in bin/mitoran bin/mitoran-launch share/applications/jp.mitoran.Mitoran.desktop \
         share/metainfo/jp.mitoran.Mitoran.metainfo.xml \
         share/icons/hicolor/scalable/apps/mitoran.svg share/doc/mitoran/ZovHelp.html \
         share/icons/hicolor/48x48/apps/mitoran.png share/icons/hicolor/256x256/apps/mitoran.png; do
    [ -e "$d/$f" ] || fail "missing $f"
done
[ -x "$d/bin/mitoran-launch" ] || fail "launcher not executable"
# Every picture the installed help document names lies next to it.
for img in $(grep -o 'src="images/[^"]*"' "$d/share/doc/mitoran/ZovHelp.html" | cut -d'"' -f2); do
    [ -s "$d/share/doc/mitoran/$img" ] || fail "help picture $img not installed"
done
ls "$d/share/mitoran/sample" | grep -qi '^項目一覧\.txt$' || fail "no first-run item list"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$d/share/applications/jp.mitoran.Mitoran.desktop" || fail "desktop entry invalid"
fi
# What software centres read: valid, and naming the desktop entry that is installed.
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$d/share/metainfo/jp.mitoran.Mitoran.metainfo.xml" >/dev/null ||
        fail "AppStream metadata invalid"
fi
grep -q '<launchable type="desktop-id">jp.mitoran.Mitoran.desktop</launchable>' \
    "$d/share/metainfo/jp.mitoran.Mitoran.metainfo.xml" || fail "metadata names another desktop entry"

# The launcher, with the program replaced by a stand-in that reports where it was started.
fake="$root/fake"
mkdir -p "$fake/bin" "$fake/share/mitoran"
cp "$d/bin/mitoran-launch" "$fake/bin/"
cp -r "$d/share/mitoran/sample" "$fake/share/mitoran/"
printf '#!/bin/sh\npwd > "%s/started-in"\n' "$root" > "$fake/bin/mitoran"
chmod +x "$fake/bin/mitoran"

XDG_DATA_HOME="$root/xdg" "$fake/bin/mitoran-launch"
[ "$(cat "$root/started-in")" = "$root/xdg/mitoran" ] || fail "not started in the data folder"
for f in "$fake/share/mitoran/sample"/*; do
    cmp -s "$f" "$root/xdg/mitoran/$(basename "$f")" || fail "first-run file $(basename "$f") not copied"
done

# A folder with data keeps it: nothing is copied over or beside it.
rm -rf "$root/xdg/mitoran"/*
printf '"x",1,1\r\n' > "$root/xdg/mitoran/項目一覧.TXT"
XDG_DATA_HOME="$root/xdg" "$fake/bin/mitoran-launch"
[ "$(ls "$root/xdg/mitoran" | wc -l)" -eq 1 ] || fail "the launcher copied into a folder with data"
printf '"x",1,1\r\n' | cmp -s - "$root/xdg/mitoran/項目一覧.TXT" || fail "user data changed"

# HOME is the fallback when XDG_DATA_HOME is unset.
rm -f "$root/started-in"
env -u XDG_DATA_HOME HOME="$root/home" "$fake/bin/mitoran-launch"
[ "$(cat "$root/started-in")" = "$root/home/.local/share/mitoran" ] || fail "default folder not used"
echo "install layout and launcher: ok"
