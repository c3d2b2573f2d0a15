#!/usr/bin/env bash
# The release as players get it: each .deb (amd64, and arm64 and armhf under qemu)
# passes lintian, installs with apt-get, its game opens its window, its desktop entry
# and manual page work, and a purge leaves nothing behind; the Linux archives'
# programs need nothing but glibc 2.34 and Xlib and play in a minimal Debian root,
# and menu.sh works (tests/release/archive_test.sh); the zip's Gravisk.exe runs
# under Wine; the setup program installs, plays and uninstalls under Wine; the web
# app's zip holds the tested web app with index.html at its top; a second build is
# identical.
# Installs and purges a system package, so it runs on its own, never beside ctest.
# Usage: bash tests/release/release_test.sh [WINEPREFIX]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
tmp="$(mktemp -d /tmp/gravisk-release.XXXXXX)"
version=2.0
deb() { echo "$root/dist/gravisk_$version-1_$1.deb"; }
zip="$root/dist/Gravisk-$version-windows-x86_64.zip"
setup="$root/dist/Gravisk-$version-setup.exe"
web_zip="$root/dist/gravisk-$version-web.zip"
headless="$root/build/release/linux/src/gravisk_headless"
prefix="${1:-$root/build/default/tests/wine/wineprefix}"
[ -d "$prefix" ] || prefix="$root/build/release/wineprefix"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -q -y -o DPkg::Lock::Timeout=600 "$@"; }

# Whether gravisk of any architecture is installed (only one can be: the same files).
installed() { dpkg-query -W -f='${Status}\n' 'gravisk:*' 2>/dev/null | grep -q "ok installed"; }
failed=0
cleanup() {
  if installed; then apt_get purge gravisk >/dev/null || true; fi
  if [ "$failed" = 0 ]; then rm -rf "$tmp"; else echo "files kept in $tmp" >&2; fi
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  failed=1
  exit 1
}
ok() { echo "ok: $*"; }

# release DIST BUILD: makes a release, showing its log only when it fails.
release() {
  bash scripts/release.sh "$1" "$2" >"$tmp/release.log" 2>&1 ||
    { tail -n 40 "$tmp/release.log" >&2; fail "scripts/release.sh $1 $2"; }
}
release "$root/build/release" "$root/dist"
ok "release built in build/release"

for arch in amd64 arm64 armhf; do
  lintian --fail-on error,warning "$(deb $arch)" >"$tmp/lintian.txt" 2>&1 ||
    fail "lintian $arch: $(grep -v 'root privileges' "$tmp/lintian.txt")"
  # Apart from the program, the same package on every architecture.
  dpkg-deb -c "$(deb $arch)" | awk '{print $1, $6}' | grep -v ' ./usr/games/gravisk$' >"$tmp/contents-$arch"
  cmp -s "$tmp/contents-amd64" "$tmp/contents-$arch" || fail "the $arch package holds other files than amd64's"
  [ "$(dpkg-deb -f "$(deb $arch)" Architecture)" = "$arch" ] || fail "$(deb $arch) is not for $arch"
done
ok "lintian: no errors or warnings; amd64, arm64, armhf packages hold the same files"

# The zip: exactly three files, the texts with Windows line ends, the game under Wine.
mkdir "$tmp/zip"
unzip -q "$zip" -d "$tmp/zip"
names="$(cd "$tmp/zip" && find . -mindepth 1 | sort | tr '\n' ' ')"
[ "$names" = "./Gravisk.exe ./LICENSE.txt ./README.txt " ] || fail "the zip holds $names"
for text in LICENSE.txt README.txt; do
  lines="$(wc -l <"$tmp/zip/$text")"
  crlf="$(grep -c $'\r$' "$tmp/zip/$text" || true)"
  if [ "$lines" = 0 ] || [ "$lines" != "$crlf" ]; then fail "$text: $crlf of $lines lines end in CR LF"; fi
done
ok "zip: Gravisk.exe, LICENSE.txt, README.txt with CR LF line ends"
bash tests/wine/window_test.sh "$tmp/zip/Gravisk.exe" "$headless" "$tmp/wine" "$prefix" \
  >"$tmp/wine.log" 2>&1 || { tail -n 20 "$tmp/wine.log" >&2; fail "Gravisk.exe from the zip under Wine"; }
ok "the zip's Gravisk.exe plays under Wine"
bash tests/wine/installer_test.sh "$setup" "$version" "$tmp/zip/Gravisk.exe" assets/gravisk.ico \
  "$headless" "$root/build/release/installer-wine" >"$tmp/installer.log" 2>&1 ||
  { tail -n 20 "$tmp/installer.log" >&2; fail "$(basename "$setup") under Wine"; }
ok "$(basename "$setup") installs, plays and uninstalls under Wine"

# What exists before the package, to find what it leaves behind. The icon and
# desktop caches belong to the desktop, which rebuilds them on every install.
snapshot() {
  find /usr /etc -xdev 2>/dev/null | grep -v -e '/icon-theme\.cache$' -e '/mimeinfo\.cache$' | sort
}
# play_package DEB GRAVISK WAIT_SCALE: installs DEB with apt-get (beside the machine's
# multiarch libraries), plays the installed game (GRAVISK runs /usr/games/gravisk,
# with WAIT_SCALE times the usual patience), checks its desktop entry and manual
# page, purges it and checks that nothing of it is left.
play_package() {
  local name
  name=$(basename "$1")
  if installed; then apt_get purge gravisk >/dev/null; fi
  snapshot >"$tmp/before"
  apt_get install --no-install-recommends "$1" >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; fail "apt-get install $1"; }
  installed || fail "gravisk is not installed after apt-get install"
  dpkg -L gravisk >"$tmp/files"
  ok "$name: installed with apt-get"

  # The installed game as a player sees it: its window, keys, reload and close.
  GRAVISK=$2 HEADLESS="$headless" WM=openbox X_WAIT_SCALE=$3 bash tests/e2e/window_test.sh \
    >"$tmp/window.log" 2>&1 || { cat "$tmp/window.log" >&2; fail "$name: /usr/games/gravisk's window"; }
  ok "$name: /usr/games/gravisk opens its window, plays and closes with status 0"

  entry=/usr/share/applications/io.github.gravisk.Gravisk.desktop
  desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
  exec_name="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
  program="$exec_name"
  [[ $program == /* && -x $program ]] ||
    program="$(PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games command -v "$exec_name")" ||
    fail "Exec=$exec_name in $entry is no program"
  [ "$(realpath "$program")" = /usr/games/gravisk ] || fail "Exec runs $program, not /usr/games/gravisk"
  icon="$(sed -n 's/^Icon=//p' "$entry")"
  [ -s "/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named $icon"
  # The icon theme requires 48 x 48; each picture must be the size its folder says.
  [ -s "/usr/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon named $icon"
  for png in /usr/share/icons/hicolor/*x*/apps/"$icon".png; do
    size="$(basename "$(dirname "$(dirname "$png")")")"
    [ "$(identify -format '%wx%h' "$png")" = "$size" ] || fail "$png is $(identify -format '%wx%h' "$png")"
  done
  ok "desktop entry: Exec runs /usr/games/gravisk, Icon=$icon has SVG and PNG at every size"

  page="$(man -w 6 gravisk)" || fail "man does not find gravisk(6)"
  MANWIDTH=80 man --warnings -l "$page" 2>"$tmp/man.err" | col -b >"$tmp/man.txt"
  [ ! -s "$tmp/man.err" ] || fail "man -l $page: $(cat "$tmp/man.err")"
  for heading in NAME SYNOPSIS DESCRIPTION KEYS "EXIT STATUS"; do
    grep -qx "$heading" "$tmp/man.txt" || fail "the manual page has no $heading"
  done
  ok "man -l $page renders without warnings"

  apt_get purge gravisk >/dev/null
  ! installed || fail "gravisk is still installed after the purge"
  snapshot >"$tmp/after"
  left=""
  while IFS= read -r path; do
    dpkg -S "$path" >/dev/null 2>&1 || left+=" $path"
  done < <(comm -13 "$tmp/before" "$tmp/after")
  while IFS= read -r path; do
    [ -d "$path" ] || [ ! -e "$path" ] || left+=" $path"
  done <"$tmp/files"
  [ -z "$left" ] || fail "left after the purge:$left"
  ok "$name: purged, nothing of the package is left"
}
play_package "$(deb amd64)" /usr/games/gravisk 1
# The ARM programs run under qemu's user-mode emulator with no library prefix: the
# multiarch loader and libraries are where the programs look. Under emulation
# Mesa's software rasteriser takes seconds for the first frame.
for arch in arm64 armhf; do
  case $arch in arm64) qemu="qemu-aarch64-static" ;; armhf) qemu="qemu-arm-static" ;; esac
  printf '#!/bin/sh\nexec timeout -s KILL 600 %s /usr/games/gravisk "$@"\n' "$qemu" >"$tmp/gravisk-$arch"
  chmod +x "$tmp/gravisk-$arch"
  play_package "$(deb $arch)" "$tmp/gravisk-$arch" 8
done

# The Linux archives: their files, the libraries and symbols their programs need,
# menu.sh, and a game played in a minimal Debian root (aarch64's under qemu).
for machine in x86_64 aarch64; do
  bash tests/release/archive_test.sh "$root/dist/gravisk-$version-linux-$machine.tar.gz" "$headless" \
    "$root/build/release/archive-test-$machine" >"$tmp/archive.log" 2>&1 ||
    { tail -n 20 "$tmp/archive.log" >&2; fail "the Linux archive for $machine (tests/release/archive_test.sh)"; }
  grep '^ok: ' "$tmp/archive.log"
done

# The same release again from a new build folder, later: the same bytes.
rm -rf "$root/build/release-again"
release "$root/build/release-again" "$tmp/dist-again"
diff "$root/dist/SHA256SUMS" "$tmp/dist-again/SHA256SUMS" >&2 ||
  fail "a second build in build/release-again differs (above)"
ok "reproducible: $(tr '\n' ' ' <"$root/dist/SHA256SUMS")"

# The page the browser tests played (the web preset's, built beside them) is the
# page players download, byte for byte.
page="$root/build/web/gravisk.html"
if [ -f "$page" ]; then
  cmp "$page" "$root/dist/gravisk-$version.html" || fail "dist/gravisk-$version.html is not the tested $page"
  ok "dist/gravisk-$version.html is the page the browser tests played"
fi

# The web app's zip: its files at the top, no folders, and (when the web preset is
# built) the very files the browser tests served, byte for byte.
mkdir "$tmp/web"
unzip -q "$web_zip" -d "$tmp/web"
names="$(cd "$tmp/web" && find . -mindepth 1 | sort | tr '\n' ' ')"
want="./apple-touch-icon.png ./icon-192.png ./icon-512.png ./icon-maskable-512.png ./index.html"
want+=" ./manifest.webmanifest ./sw.js "
[ "$names" = "$want" ] || fail "the web zip holds $names"
if [ -d "$root/build/web/webapp" ]; then
  diff -r "$root/build/web/webapp" "$tmp/web" >&2 || fail "the web zip is not the tested build/web/webapp"
  ok "web zip: index.html at its top, the web app the browser tests served"
else
  ok "web zip: index.html at its top"
fi
echo PASS
