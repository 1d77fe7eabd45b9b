#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it: the control fields,
# lintian (no errors), every file of the installed layout, orvane-cli run
# from the unpacked package on the virtual analyzer, and the man pages.
# Uses the build folder of the other scripts (ORVANE_BUILD_DIR, default
# build), so after test.sh little is rebuilt. Exits non-zero on the first
# failure, saying what failed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

METAINFO=org.orvane.orvane.metainfo.xml
PROGRAM_DIR=usr/lib/orvane
# Every file the package must hold, as dpkg -c names them.
EXPECTED_FILES=(
  "./$PROGRAM_DIR/orvane"
  "./$PROGRAM_DIR/orvane-cli"
  "./$PROGRAM_DIR/liborlink.so"
  "./$PROGRAM_DIR/vxlfrm.dat"
  "./$PROGRAM_DIR/vxlmane.html"
  "./usr/share/orvane/demo-network.ldf"
  "./usr/lib/udev/rules.d/70-orvane.rules"
  "./usr/share/applications/orvane.desktop"
  "./usr/share/icons/hicolor/scalable/apps/orvane.svg"
  "./usr/share/metainfo/$METAINFO"
  "./usr/share/man/man1/orvane.1.gz"
  "./usr/share/man/man1/orvane-cli.1.gz"
  "./usr/share/doc/orvane/copyright"
  "./usr/share/doc/orvane/changelog.Debian.gz"
)

fail() {
  echo "package-check: FAILED: $*" >&2
  exit 1
}
step() { echo "== package-check: $*"; }

orvane_install_packages
orvane_build

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$ORVANE_BUILD_DIR/CMakeCache.txt")"
[ -n "$version" ] || fail "no project version in $ORVANE_BUILD_DIR/CMakeCache.txt"
deb="$ORVANE_BUILD_DIR/orvane_${version}-1_$(dpkg --print-architecture).deb"

step "cpack -G DEB"
rm -f "$deb"
(cd "$ORVANE_BUILD_DIR" && cpack -G DEB) || fail "cpack could not make the package"
[ -f "$deb" ] || fail "cpack did not write $deb"

step "control fields of $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Section Priority Maintainer Depends Recommends
depends="$(dpkg-deb --field "$deb" Depends)"
for library in libc6 libstdc++6 libqt6widgets6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends does not name $library (shlibdeps): $depends"
done
[[ "$depends" != *orlink* ]] || fail "Depends asks for the package's own liborlink.so: $depends"
[ "$(dpkg-deb --field "$deb" Recommends)" = "udev" ] || fail "Recommends is not udev"

step "lintian"
# Warnings are shown and allowed; errors fail the check.
lintian --fail-on error --display-info "$deb" || fail "lintian reports errors (above)"

step "contents"
contents="$(dpkg-deb --contents "$deb")"
listed="$(awk '{print $6}' <<<"$contents")"
for file in "${EXPECTED_FILES[@]}"; do
  grep -qxF "$file" <<<"$listed" || fail "the package lacks $file"
done
for program in orvane orvane-cli; do
  grep -qF "./usr/bin/$program -> ../lib/orvane/$program" <<<"$contents" \
    || fail "/usr/bin/$program is not a link to ../lib/orvane/$program"
done

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"

step "orvane-cli info from the unpacked package"
# The programs load liborlink.so by its path in their own folder and link
# only against system libraries, so they need no library search path.
for program in orvane orvane-cli; do
  if readelf --dynamic "$root/$PROGRAM_DIR/$program" | grep -E "\((RUNPATH|RPATH)\)"; then
    fail "$program carries a library search path (above)"
  fi
done
info="$(ORLINK_DEVICE=virtual "$root/usr/bin/orvane-cli" info)" || fail "orvane-cli info failed"
echo "$info"
grep -q "^Serial number: " <<<"$info" || fail "orvane-cli info printed no serial number"
grep -q "^Firmware version: " <<<"$info" || fail "orvane-cli info printed no firmware version"
# The link library comes from the unpacked program folder, found through
# the /usr/bin link: without it, info fails and names that file.
mv "$root/$PROGRAM_DIR/liborlink.so" "$root/liborlink.so.away"
if missing="$(ORLINK_DEVICE=virtual "$root/usr/bin/orvane-cli" info 2>&1)"; then
  fail "orvane-cli info worked without the program folder's liborlink.so"
fi
grep -qF "$root/$PROGRAM_DIR/liborlink.so" <<<"$missing" \
  || fail "orvane-cli did not look for liborlink.so in its program folder: $missing"
mv "$root/liborlink.so.away" "$root/$PROGRAM_DIR/liborlink.so"

step "man pages"
for page in orvane orvane-cli; do
  file="$root/usr/share/man/man1/$page.1.gz"
  warnings="$(MANPAGER=cat MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "man warns about $page.1: $warnings"
  rendered="$(MANPAGER=cat MANWIDTH=80 man -l "$file" 2>/dev/null)"
  grep -q "^NAME" <<<"$rendered" || fail "$page.1 does not render"
  grep -q "^EXIT STATUS" <<<"$rendered" || fail "$page.1 has no EXIT STATUS section"
done
MANPAGER=cat MANWIDTH=80 man -l "$root/usr/share/man/man1/orvane-cli.1.gz" | head -n 12

if command -v appstreamcli >/dev/null; then
  step "AppStream data"
  appstreamcli validate --no-net "$root/usr/share/metainfo/$METAINFO" \
    || fail "appstreamcli rejects $METAINFO"
fi

step "all checks passed: $deb"
