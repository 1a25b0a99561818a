#!/usr/bin/env bash
# Builds the Debian package as the README says (cpack -G DEB in the build directory) and
# checks what a user's machine would get: the files, the control fields and
# dependencies, the AppStream listing, and that it installs and removes cleanly. The
# install goes into a scratch root of its own, never into this machine's system.
# Usage: check_package.sh BUILD_DIR VERSION APP_ID
set -euo pipefail

build=$1 version=$2 app_id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2; echo "FAIL: cpack -G DEB" >&2; exit 1; }
deb=$(find "$work/out" -maxdepth 1 -name 'ombrix_*.deb')
[[ $(basename "$deb") == "ombrix_${version}_$(dpkg --print-architecture).deb" ]] ||
    { echo "FAIL: package file is '${deb#"$work/out/"}'" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == ombrix ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
depends=$(field Depends)
# The Qt libraries from the binaries, and the platform plugin dpkg-shlibdeps cannot see.
for dep in libc6 libqt6widgets6 libqt6gui6 libqt6core6 libx11-6 libxtst6 qt6-qpa-plugins; do
    grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for f in /usr/bin/ombrix /usr/bin/ombrix-fade /usr/share/applications/$app_id.desktop \
         /usr/share/metainfo/$app_id.metainfo.xml /usr/share/doc/ombrix/copyright \
         /usr/share/icons/hicolor/32x32/apps/$app_id.png /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
         /usr/share/man/man1/ombrix-fade.1.gz; do
    grep -qx "$f" <<<"$files" || fail "the package lacks $f"
done
grep -qvE '^/usr(/|$)' <<<"$files" && fail "files outside /usr: $(grep -vE '^/usr(/|$)' <<<"$files" | head -3)"

# The listing a software centre reads, as installed, and the version it announces.
dpkg-deb -x "$deb" "$work/unpacked"
metainfo=$work/unpacked/usr/share/metainfo/$app_id.metainfo.xml
if [[ -f $metainfo ]]; then
    report=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || fail "appstreamcli validate: $report"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "the AppStream listing names no release $version"
fi
grep -q "HTML Ombrix $version" <(zcat "$work/unpacked/usr/share/man/man1/ombrix-fade.1.gz") ||
    fail "the manual page does not name version $version"

# Install and remove with dpkg into a scratch root: every file comes and goes.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg_root=(dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless --log=/dev/null)
if "${dpkg_root[@]}" -i "$deb" >"$work/dpkg.log" 2>&1; then
    [[ -x $root/usr/bin/ombrix-fade ]] || fail "dpkg -i installed no usr/bin/ombrix-fade"
    "${dpkg_root[@]}" -r ombrix >>"$work/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$work/dpkg.log")"
    left=$(find "$root" -type f ! -path "$root/var/lib/dpkg/*")
    [[ -z $left ]] || fail "dpkg -r left files behind: $left"
else
    fail "dpkg -i: $(cat "$work/dpkg.log")"
fi

if ((failures)); then
    echo "$failures failed" >&2
    exit 1
fi
echo "package ombrix_${version} ok"
