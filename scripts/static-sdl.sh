#!/usr/bin/env bash
# Builds SDL 2 as a static library from Debian's own source package (bookworm's
# libsdl2, the version the Debian packages of the game are built against), for the
# program of the Linux archive: every back end that needs a system library loads
# it when it is used (X11, Wayland, libdecor, KMS/DRM, D-Bus, udev, OpenGL,
# Vulkan), so the program needs none of them to start; game controllers stay (the
# joystick, game controller and HIDAPI subsystems, Linux evdev); no audio (the game
# has no sound). The result is cached: a second run with the same source version
# and this same script builds nothing.
# Usage: bash scripts/static-sdl.sh [ARCH [CACHE_DIR]]  (ARCH is a Debian architecture,
# default amd64; CACHE_DIR default build/sdl2-static). Prints the install prefix
# (CACHE_DIR/TRIPLET/prefix, with lib/libSDL2.a, lib/pkgconfig/sdl2.pc and SDL's
# licence and Debian's copyright file in share/doc/SDL2) on its last line; the
# build's log goes to stderr.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
arch="${1:-amd64}"
cache="$(realpath -m "${2:-$root/build/sdl2-static}")"
jobs="${JOBS:-$(nproc)}"
triplet="$(dpkg-architecture -a"$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)"
build_triplet="$(dpkg-architecture -qDEB_BUILD_MULTIARCH)"
build_arch="$(dpkg --print-architecture)"
here="$cache/$triplet"
prefix="$here/prefix"
cross=no
if [ "$triplet" != "$build_triplet" ]; then
  # A cross build takes the target's headers and libraries from a Debian root of
  # its own (sysroot, below), and installs SDL into it, where pkg-config finds it.
  cross=yes
  sysroot="$here/sysroot"
  prefix="$sysroot/opt/sdl2-static"
fi
exec 3>&1 1>&2 # only the prefix goes to stdout

# The source: the version of libsdl2-dev installed here, which the .deb's program
# links, from Debian's archive. apt fetches it with a configuration of its own under
# the cache (its own sources list with one deb-src line, its own index): the
# machine's apt setup is left as it is. apt checks the index against Debian's
# signed Release file and dpkg-source the files against the .dsc.
version="$(dpkg-query -W -f='${Version}' "libsdl2-dev:$build_arch")"
upstream="${version%-*}"
src="$cache/src/libsdl2-$upstream"
stamp_want="libsdl2 $version $arch $(sha256sum "$0" | cut -d' ' -f1)"
if [ -f "$here/stamp" ] && [ "$(cat "$here/stamp")" = "$stamp_want" ] && [ -f "$prefix/lib/libSDL2.a" ]; then
  echo "static SDL $version for $arch: cached in $here"
  echo "$prefix" >&3
  exit 0
fi

if [ ! -f "$src/.unpacked-$version" ]; then
  apt_dir="$cache/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$cache/src"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$apt_dir/sources.list"
  apt_opts=(-q -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/nonexistent
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
    -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= -o APT::Sandbox::User=root)
  apt-get "${apt_opts[@]}" update
  rm -rf "$src"
  (cd "$cache/src" && apt-get "${apt_opts[@]}" source --download-only "libsdl2=$version" &&
    dpkg-source --require-strong-checksums -x "libsdl2_$version.dsc" "$src")
  touch "$src/.unpacked-$version"
fi

# Debian's own compiler flags for the architecture, hardening included, as the
# game's; no build path gets into the library.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { DEB_HOST_ARCH=$arch dpkg-buildflags --get "$1"; }
obj="$here/build"
prefix_map="-ffile-prefix-map=$src=sdl -ffile-prefix-map=$obj=sdl"
host=()
if [ "$cross" = yes ]; then
  # The target's -dev packages that SDL's build looks at (and the game's own
  # libxcb-res0-dev), unpacked from Debian's archive (debootstrap fetches and checks
  # them; nothing of the target runs here).
  sysroot_packages=libc6-dev,libx11-dev,libxext-dev,libxcursor-dev,libxfixes-dev,libxi-dev,libxinerama-dev,libxrandr-dev,libxss-dev,libxv-dev,libxxf86vm-dev,libwayland-dev,libxkbcommon-dev,libdecor-0-dev,libdrm-dev,libgbm-dev,libegl-dev,libgl-dev,libgles-dev,libdbus-1-dev,libudev-dev,libibus-1.0-dev,libxcb-res0-dev
  if [ "$(cat "$sysroot/.complete" 2>/dev/null)" != "$sysroot_packages" ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo rm -rf "$sysroot" "$sysroot.tmp"
    $sudo debootstrap --arch="$arch" --foreign --variant=minbase \
      --include="$sysroot_packages" \
      bookworm "$sysroot.tmp" http://deb.debian.org/debian
    $sudo chown -R "$(id -u):$(id -g)" "$sysroot.tmp"
    for deb in "$sysroot.tmp"/var/cache/apt/archives/*.deb; do dpkg-deb -x "$deb" "$sysroot.tmp"; done
    echo "$sysroot_packages" >"$sysroot.tmp/.complete"
    mv "$sysroot.tmp" "$sysroot"
  fi
  export PKG_CONFIG_SYSROOT_DIR="$sysroot"
  export PKG_CONFIG_LIBDIR="$sysroot/usr/lib/$triplet/pkgconfig:$sysroot/usr/share/pkgconfig"
  host=(--host="$triplet" CC="$triplet-gcc --sysroot=$sysroot" PKG_CONFIG=pkg-config
    --x-includes="$sysroot/usr/include" --x-libraries="$sysroot/usr/lib/$triplet")
fi
rm -rf "$obj" "$prefix" "$here/stamp"
mkdir -p "$obj"
cd "$obj"
# Debian's own choice of subsystems (debian/rules of the source package), with
# each library-backed part loaded on demand (*-shared) and audio left out.
"$src/configure" "${host[@]}" --prefix="$prefix" \
  --enable-static --disable-shared --disable-rpath \
  --disable-audio \
  --disable-arts --disable-directx --disable-esd --disable-fusionsound --disable-jack --disable-nas \
  --disable-joystick-mfi --disable-render-d3d --disable-video-cocoa --disable-video-directfb \
  --disable-video-metal --disable-video-opengles1 --disable-video-rpi --disable-video-vivante \
  --disable-wasapi --disable-xinput \
  --enable-dbus --enable-fcitx --enable-ibus --enable-libudev \
  --enable-hidapi --enable-hidapi-joystick --disable-hidapi-libusb \
  --enable-video-x11 --enable-x11-shared \
  --enable-video-wayland --enable-wayland-shared --enable-libdecor --enable-libdecor-shared \
  --enable-video-kmsdrm --enable-kmsdrm-shared \
  --enable-video-opengl --enable-video-opengles --enable-video-opengles2 --enable-video-vulkan \
  --enable-vendor-info="Debian $version static" \
  ac_cv_header_libunwind_h=no \
  CFLAGS="$(flags CFLAGS) $prefix_map" CPPFLAGS="$(flags CPPFLAGS)" LDFLAGS="$(flags LDFLAGS)"
# The Wayland protocol code comes from this machine's wayland-scanner, not the target's.
make -j"$jobs" V=0 WAYLAND_SCANNER=wayland-scanner
make install V=0 >/dev/null
# SDL's licence, and Debian's record of the terms of every part of its source.
mkdir -p "$prefix/share/doc/SDL2"
cp "$src/LICENSE.txt" "$src/debian/copyright" "$prefix/share/doc/SDL2/"

# What a back end links rather than loads would be a library every player needs.
for part in X11_DYNAMIC WAYLAND_DYNAMIC WAYLAND_DYNAMIC_LIBDECOR KMSDRM_DYNAMIC; do
  grep -q "^#define SDL_VIDEO_DRIVER_$part " "$prefix/include/SDL2/SDL_config.h" ||
    { echo "SDL's $part support is not loaded on demand" >&2; exit 1; }
done
echo "$stamp_want" >"$here/stamp"
echo "static SDL $version for $arch: built in $here"
echo "$prefix" >&3
