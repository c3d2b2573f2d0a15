#!/usr/bin/env bash
# Makes a release in dist/: the Debian packages of the Linux program for amd64,
# arm64 and armhf, the Linux archives for any distribution (x86_64, aarch64), the
# Windows zip and setup program, the web page, the web app's zip and SHA256SUMS.
# The same commit gives byte-identical files from any build folder, at any time.
# Usage: bash scripts/release.sh [BUILD_DIR [DIST_DIR]]  (default build/release, dist)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/release}")"
dist="$(realpath -m "${2:-$root/dist}")"
cd "$root"

jobs="${JOBS:-$(nproc)}"

step() { printf '\n=== %s ===\n' "$*"; }

# Every time stamp that ends up in a file is the last commit's; the locale, the
# time zone and the file modes do not depend on who builds.
SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022
# Sets every modification time under $1 to the last commit's.
touch_tree() { find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +; }
# Copies a text file with Windows line ends.
crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$2"; }

step "Setting up"
bash scripts/setup-debian.sh core sdl2 pad arm pad-arm windows web release archive
[ -n "$(git status --porcelain --untracked-files=no)" ] &&
  echo "note: the working tree has uncommitted changes; they go into this release"
# The release version is CMake's (project() in CMakeLists.txt); the names come from it.
version="$(cmake -P cmake/ProjectVersion.cmake)"
deb_version=$version-1
deb_arches=(amd64 arm64 armhf)
deb_names=()
for arch in "${deb_arches[@]}"; do deb_names+=("gravisk_${deb_version}_$arch.deb"); done
zip_name=Gravisk-$version-windows-x86_64.zip
setup_name=Gravisk-$version-setup.exe
page_name=gravisk-$version.html
web_name=gravisk-$version-web.zip
archive_names=("gravisk-$version-linux-x86_64.tar.gz" "gravisk-$version-linux-aarch64.tar.gz")
# The changelog, the manual page and the AppStream metadata each name the release they
# describe, newest first: that must be this one.
not_this() { echo "$1 does not describe release $version first" >&2; exit 1; }
[ "$(dpkg-parsechangelog -l data/debian/changelog -S Version)" = "$deb_version" ] ||
  not_this data/debian/changelog
grep -q "^\.TH .* \"Gravisk $version\"" data/linux/gravisk.6 || not_this data/linux/gravisk.6
metainfo=data/linux/io.github.gravisk.Gravisk.metainfo.xml
[ "$(grep -m1 -o '<release version="[^"]*"' "$metainfo")" = "<release version=\"$version\"" ] ||
  not_this "$metainfo"
mkdir -p "$build" "$dist"
# A fresh CMake cache each time, so that no setting of an earlier run lingers.
rm -f "$build"/linux*/CMakeCache.txt "$build/windows/CMakeCache.txt"
(cd "$dist" && rm -f "${deb_names[@]}" "$zip_name" "$setup_name" "$page_name" "$web_name" \
  "${archive_names[@]}" SHA256SUMS)

# Neither the source folder nor the build folder may show in a binary.
prefix_map="-ffile-prefix-map=$root=. -ffile-prefix-map=$build=."

# Debian's own compiler and linker flags for each architecture, all hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all

# linux_program ARCH: builds the Linux program for a Debian architecture, natively
# for amd64, else with the cross toolchain file named by its multiarch triplet,
# in $build/linux (amd64) or $build/linux-ARCH.
linux_dir() { if [ "$1" = amd64 ]; then echo "$build/linux"; else echo "$build/linux-$1"; fi; }
triplet() { dpkg-architecture -a"$1" -qDEB_HOST_MULTIARCH 2>/dev/null; }
buildflags() { DEB_HOST_ARCH=$1 dpkg-buildflags --get "$2"; }
linux_program() {
  local arch=$1 dir toolchain=() targets=(gravisk)
  dir="$(linux_dir "$arch")"
  if [ "$arch" = amd64 ]; then
    targets+=(gravisk_headless) # the release test's pictures to compare with
  else
    toolchain=(--toolchain "$root/cmake/$(triplet "$arch").cmake")
  fi
  cmake -S "$root" -B "$dir" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS="$(buildflags "$arch" CPPFLAGS) $(buildflags "$arch" CXXFLAGS) $prefix_map" \
    -DCMAKE_EXE_LINKER_FLAGS="$(buildflags "$arch" LDFLAGS)" \
    -DCMAKE_INSTALL_PREFIX=/usr -DGRAVISK_INSTALL_BINDIR=games \
    -DGRAVISK_TESTS=OFF -DGRAVISK_BENCHMARKS=OFF >/dev/null
  cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
}

# debian_package ARCH NAME: the Debian package of that build as $dist/NAME; every
# architecture's the same but for the program.
debian_package() {
  local arch=$1 name=$2 deb stage desktop doc size
  deb="$build/deb-$arch"
  stage="$deb/debian/gravisk"
  rm -rf "$deb"
  mkdir -p "$deb/debian"
  DESTDIR="$stage" cmake --install "$(linux_dir "$arch")" >/dev/null
  # As Debian strips: symbols and the compiler's notes go, the build id stays.
  "$(triplet "$arch")-strip" --remove-section=.comment --remove-section=.note --strip-unneeded \
    "$stage/usr/games/gravisk"
  # Launchers that do not start from a login shell may not have /usr/games on PATH.
  desktop="$stage/usr/share/applications/io.github.gravisk.Gravisk.desktop"
  sed -i 's|^Exec=gravisk$|Exec=/usr/games/gravisk|' "$desktop"
  grep -qx 'Exec=/usr/games/gravisk' "$desktop" || { echo "the desktop entry has no Exec=gravisk" >&2; exit 1; }
  # The icon at the usual sizes, drawn from the same picture as the scalable one.
  for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$stage/usr/share/icons/hicolor/${size}x$size/apps"
    rsvg-convert -w "$size" -h "$size" -o "$stage/usr/share/icons/hicolor/${size}x$size/apps/gravisk.png" \
      data/linux/gravisk.svg
  done
  gzip -9n "$stage/usr/share/man/man6/gravisk.6"
  doc="$stage/usr/share/doc/gravisk"
  mkdir -p "$doc"
  cp data/debian/copyright "$doc/copyright"
  gzip -9n <data/debian/changelog >"$doc/changelog.Debian.gz"
  mkdir -p "$stage/usr/share/lintian/overrides"
  cp data/debian/lintian-overrides "$stage/usr/share/lintian/overrides/gravisk"
  cp data/debian/control data/debian/changelog "$deb/debian/"
  (
    cd "$deb"
    mkdir debian/gravisk/DEBIAN
    # The libraries and the Architecture field are the target's (multiarch).
    export DEB_HOST_ARCH=$arch
    dpkg-shlibdeps -Tdebian/substvars debian/gravisk/usr/games/gravisk
    dpkg-gencontrol -pgravisk -Pdebian/gravisk -Tdebian/substvars -fdebian/files
  )
  (cd "$stage" && find usr -type f | sort | xargs md5sum >DEBIAN/md5sums)
  find "$stage" -type d -exec chmod 0755 {} +
  find "$stage" -type f -exec chmod 0644 {} +
  chmod 0755 "$stage/usr/games/gravisk"
  touch_tree "$stage"
  dpkg-deb --root-owner-group -Zxz --build "$stage" "$dist/$name"
  [ "$(dpkg-deb -f "$dist/$name" Version)" = "$deb_version" ] ||
    { echo "the package's version is not $deb_version" >&2; exit 1; }
  [ "$(dpkg-deb -f "$dist/$name" Architecture)" = "$arch" ] ||
    { echo "the package's architecture is not $arch" >&2; exit 1; }
  lintian --fail-on error "$dist/$name"
}

for i in "${!deb_arches[@]}"; do
  step "Linux program and Debian package (${deb_arches[i]})"
  linux_program "${deb_arches[i]}"
  debian_package "${deb_arches[i]}" "${deb_names[i]}"
done

# The Linux archives for any distribution, x86_64 and aarch64.
for arch in amd64 arm64; do
  step "Linux archive ($arch)"
  bash scripts/linux-archive.sh "$build" "$dist" "$arch"
done
for name in "${archive_names[@]}"; do
  [ -s "$dist/$name" ] || { echo "scripts/linux-archive.sh made no $name" >&2; exit 1; }
done

step "Windows zip"
cmake -S "$root" -B "$build/windows" --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$prefix_map" \
  -DGRAVISK_SDL2=OFF -DGRAVISK_TESTS=OFF -DGRAVISK_BENCHMARKS=OFF >/dev/null
cmake --build "$build/windows" -j "$jobs" --target gravisk_win32_exe
zipdir="$build/zip"
rm -rf "$zipdir"
mkdir -p "$zipdir"
x86_64-w64-mingw32-strip -o "$zipdir/Gravisk.exe" "$build/windows/src/win32/Gravisk.exe"
crlf data/windows/README.txt "$zipdir/README.txt"
crlf LICENSE "$zipdir/LICENSE.txt"
chmod 0644 "$zipdir"/*
touch_tree "$zipdir"
# -X: no owners or extra time stamps; the names in a fixed order.
(cd "$zipdir" && zip -X -D -9 -q "$dist/$zip_name" Gravisk.exe LICENSE.txt README.txt)

step "Windows setup program"
# The same Gravisk.exe and licence as the zip's; NSIS writes no file times into it
# (SetDateSave off), so it too is the same bytes every time.
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$zipdir" -DICON="$root/assets/gravisk.ico" \
  -DOUTFILE="$dist/$setup_name" data/windows/installer.nsi
chmod 0644 "$dist/$setup_name"

step "Web page"
cmake --preset web -B "$build/web" >/dev/null
cmake --build "$build/web" -j "$jobs" --target gravisk_page gravisk_webapp
cp "$build/web/gravisk.html" "$dist/$page_name"
chmod 0644 "$dist/$page_name"

step "Web app zip"
# The web app's folder as game sites take it: index.html at the top, every path relative.
webdir="$build/webzip"
rm -rf "$webdir"
cp -r "$build/web/webapp" "$webdir"
chmod 0644 "$webdir"/*
touch_tree "$webdir"
(cd "$webdir" && find . -type f -printf '%P\n' | sort | zip -X -D -9 -q "$dist/$web_name" -@)

step "Checksums"
(
  cd "$dist"
  sha256sum "${deb_names[@]}" "${archive_names[@]}" "$zip_name" "$setup_name" "$page_name" "$web_name" \
    >SHA256SUMS
  cat SHA256SUMS
)
echo "release in $dist"
