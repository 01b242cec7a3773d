#!/usr/bin/env bash
# The installed tree holds exactly the program, its desktop entry, icons and
# metainfo, which the desktop's validators accept; the Debian package built
# from it has no lintian error.
#   check_install.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
(cd "$work/prefix" && find . -type f | sort) >"$work/installed"
cat >"$work/expected" <<'LIST'
./bin/rurive-musicbox
./share/applications/rurive-musicbox.desktop
./share/icons/hicolor/128x128/apps/rurive-musicbox.png
./share/icons/hicolor/16x16/apps/rurive-musicbox.png
./share/icons/hicolor/32x32/apps/rurive-musicbox.png
./share/icons/hicolor/48x48/apps/rurive-musicbox.png
./share/icons/hicolor/64x64/apps/rurive-musicbox.png
./share/metainfo/com.rurive.MusicBox.metainfo.xml
LIST
diff -u "$work/expected" "$work/installed"
for size in 16 32 48 64 128; do
    file "$work/prefix/share/icons/hicolor/${size}x${size}/apps/rurive-musicbox.png" |
        grep -q "PNG image data, $size x $size, 8-bit/color RGBA" || { echo "icon $size is wrong"; exit 1; }
done

desktop-file-validate "$work/prefix/share/applications/rurive-musicbox.desktop"
appstreamcli validate --no-net "$work/prefix/share/metainfo/com.rurive.MusicBox.metainfo.xml"

(cd "$build" && cpack -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/*.deb)
dpkg-deb -f "$deb" Version | grep -qx "3.0.2.0"
dpkg-deb -f "$deb" Depends | grep -q "xdg-utils"
dpkg-deb -f "$deb" Depends | grep -q "fonts-wqy-microhei"
lintian --fail-on error "$deb" 2>&1 | grep -v "root privileges" || true
lintian --fail-on error "$deb" >/dev/null 2>&1
echo "install and package: passed"
