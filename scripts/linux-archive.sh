#!/usr/bin/env bash
# Makes the Linux archive, gravisk-VERSION-linux-MACHINE.tar.gz (x86_64 or aarch64),
# for any distribution with glibc 2.34 or newer: one folder gravisk-VERSION/ with the
# program (SDL and libstdc++ inside, scripts/static-sdl.sh), the icon at its sizes,
# the manual page, the players' README, the licences and menu.sh. Every name, time
# stamp, owner and mode is fixed, so the same commit gives the same bytes.
# scripts/release.sh runs it.
# Usage: bash scripts/linux-archive.sh [BUILD_DIR [DIST_DIR [ARCH]]]  (default
# build/release, dist, amd64; ARCH arm64 for aarch64); prints the archive's path on
# its last line.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/release}")"
dist="$(realpath -m "${2:-$root/dist}")"
cd "$root"
jobs="${JOBS:-$(nproc)}"
arch="${3:-amd64}"
case $arch in
  amd64) machine=x86_64 cpu="64-bit PCs (x86-64), the Steam Deck among them" ;;
  arm64) machine=aarch64 cpu="64-bit ARM computers (aarch64), such as a Raspberry Pi 3, 4 or 5" ;;
  *) echo "linux-archive.sh: no archive for $arch" >&2; exit 2 ;;
esac
triplet="$(dpkg-architecture -a"$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)"

SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022
version="$(cmake -P cmake/ProjectVersion.cmake)"
name="gravisk-$version-linux-$machine.tar.gz"

# SDL from Debian's source, built once into its cache under build/ for every
# release folder.
sdl_prefix="$(bash scripts/static-sdl.sh "$arch" "$root/build/sdl2-static" | tail -n1)"

# The program as the Debian package's, from the same sources with Debian's flags,
# but with SDL and libstdc++ linked in. No source or build path gets into it.
dir="$build/linux-portable"
toolchain=()
if [ "$arch" != amd64 ]; then
  dir="$build/linux-portable-$arch"
  # Cross-built against the Debian root the SDL build made (SDL is installed in it).
  toolchain=(--toolchain "$root/cmake/$triplet.cmake" -DGRAVISK_SYSROOT="$(dirname "$(dirname "$sdl_prefix")")")
fi
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { DEB_HOST_ARCH=$arch dpkg-buildflags --get "$1"; }
rm -f "$dir/CMakeCache.txt"
cmake -S "$root" -B "$dir" -G Ninja "${toolchain[@]}" -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS) -ffile-prefix-map=$root=. -ffile-prefix-map=$build=." \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" \
  -DCMAKE_PREFIX_PATH="$sdl_prefix" -DGRAVISK_STATIC_SDL2=ON \
  -DGRAVISK_TESTS=OFF -DGRAVISK_BENCHMARKS=OFF >/dev/null
cmake --build "$dir" -j "$jobs" --target gravisk

stage="$build/linux-archive-$arch"
top="$stage/gravisk-$version"
rm -rf "$stage"
mkdir -p "$top" "$dist"
# Stripped as Debian strips: symbols and the compiler's notes go, the build id stays.
"$triplet-strip" --remove-section=.comment --remove-section=.note --strip-unneeded \
  -o "$top/gravisk" "$dir/src/sdl2/gravisk"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$top/icons/hicolor/${size}x$size/apps"
  rsvg-convert -w "$size" -h "$size" -o "$top/icons/hicolor/${size}x$size/apps/gravisk.png" \
    data/linux/gravisk.svg
done
mkdir -p "$top/icons/hicolor/scalable/apps"
cp data/linux/gravisk.svg "$top/icons/hicolor/scalable/apps/gravisk.svg"
cp data/linux/gravisk.6 "$top/gravisk.6"
# The players' README names this archive and the computers it is for.
sed -e "s|@ARCHIVE@|$name|" -e "s|@CPU@|$cpu|" data/archive/README.txt >"$top/README.txt"
! grep -q '@[A-Z]*@' "$top/README.txt" || { echo "README.txt: a name was not filled in" >&2; exit 1; }
cp LICENSE "$top/LICENSE"
{
  cat "$sdl_prefix/share/doc/SDL2/LICENSE.txt"
  printf "\n\nThe program holds SDL %s, built from Debian's source package. Its\n" \
    "$(dpkg-query -W -f='${Version}' "libsdl2-dev:$(dpkg --print-architecture)")"
  printf "parts come under these terms, as Debian's copyright file of it lists them:\n\n"
  cat "$sdl_prefix/share/doc/SDL2/copyright"
} >"$top/LICENSE-SDL.txt"
# menu.sh carries the Debian package's menu entry, less the lines it writes itself.
grep -v -e '^Exec=' -e '^Icon=' data/linux/io.github.gravisk.Gravisk.desktop >"$stage/entry"
grep -qx '\[Desktop Entry\]' "$stage/entry" || { echo "no desktop entry to put in menu.sh" >&2; exit 1; }
sed -e "/^@ENTRY@$/{r $stage/entry" -e 'd}' data/archive/menu.sh >"$top/menu.sh"
! grep -q '@ENTRY@' "$top/menu.sh" || { echo "menu.sh: the entry was not filled in" >&2; exit 1; }

find "$top" -type d -exec chmod 0755 {} +
find "$top" -type f -exec chmod 0644 {} +
chmod 0755 "$top/gravisk" "$top/menu.sh"
find "$top" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
# The names sorted, the owner root, no time stamp of the build in the gzip header.
tar -C "$stage" --sort=name --owner=0 --group=0 --numeric-owner --format=gnu \
  -cf - "gravisk-$version" | gzip -9n >"$dist/$name"
chmod 0644 "$dist/$name"
echo "$dist/$name"
