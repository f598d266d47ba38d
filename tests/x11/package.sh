#!/usr/bin/env bash
# The Debian package built from a build folder: the hack where XScreenSaver looks for it, its configuration,
# a gzipped man page in section 6, the desktop entry and the copyright file; section x11 and dependencies
# found by dpkg-shlibdeps. Usage: package.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

timeout 240 cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack failed"
}
deb=$(ls "$work"/*.deb)
dpkg-deb -c "$deb" >"$work/listing"
awk '{ print $6 }' "$work/listing" >"$work/files"
for f in ./usr/libexec/xscreensaver/nightgrid ./usr/share/xscreensaver/config/nightgrid.xml \
    ./usr/share/man/man6/nightgrid.6.gz ./usr/share/applications/screensavers/nightgrid.desktop \
    ./usr/share/doc/nightgrid/copyright; do
    grep -qx "$f" "$work/files" || fail "$f is not in the package: $(cat "$work/files")"
done
grep -q '^-rwxr-xr-x .* ./usr/libexec/xscreensaver/nightgrid$' "$work/listing" || fail "the hack is not executable"

[ "$(dpkg-deb -f "$deb" Package)" = nightgrid ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Section)" = x11 ] || fail "section is not x11"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libx11-6 libglx0; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

dpkg-deb -x "$deb" "$work/root"
file "$work/root/usr/libexec/xscreensaver/nightgrid" | grep -q 'ELF.*executable' || fail "the hack is not an executable"
xml=$work/root/usr/share/xscreensaver/config/nightgrid.xml
grep -q '<screensaver name="nightgrid" _label="Night Grid" gl="yes">' "$xml" || fail "config header"
grep -q '<command arg="--root"/>' "$xml" || fail "config command"
grep -q '<_description>' "$xml" || fail "config description"
zcat "$work/root/usr/share/man/man6/nightgrid.6.gz" | grep -q '^\.TH NIGHTGRID 6' || fail "man page"
grep -q '^Exec=nightgrid --root$' "$work/root/usr/share/applications/screensavers/nightgrid.desktop" ||
    fail "desktop entry"
echo "ok: $(basename "$deb"): Depends: $depends"
