#!/usr/bin/env bash
# The Linux archive as players get it (x86_64 or aarch64, from its name): one
# folder with the program, its icons, manual page, README, licences and menu.sh,
# owned by root and stamped with the last commit's time; a program that needs no
# library beyond glibc 2.34, libgcc_s and Xlib, with SDL's Wayland back end inside;
# menu.sh's entry passes desktop-file-validate, starts the program and goes away
# again with nothing left (for this machine's own architecture); and the program
# plays and wins in a minimal Debian root that has no SDL (debootstrap's minbase
# with libx11-6 and libxext6, made once and kept in build/minbase-bookworm[-ARCH];
# aarch64's under qemu), and writes nothing there.
# Needs root (or sudo) for debootstrap and chroot. release_test.sh runs it.
# Usage: bash tests/release/archive_test.sh ARCHIVE HEADLESS SCRATCH_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
archive="$(realpath "$1")"
headless="$(realpath "$2")"
tmp="$(realpath -m "$3")"
version=2.0
top="gravisk-$version"
machine="${archive##*-linux-}"
machine="${machine%.tar.gz}"
case $machine in
  x86_64) arch=amd64 loader=ld-linux-x86-64.so.2 elf="Advanced Micro Devices X86-64" ;;
  aarch64) arch=arm64 loader=ld-linux-aarch64.so.1 elf=AArch64 ;;
  *) echo "no architecture in the name $archive" >&2; exit 2 ;;
esac
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
ok() { echo "ok: $*"; }
rm -rf "$tmp"
mkdir -p "$tmp"

# The folder: exactly these files, owned by root, every time stamp the last commit's,
# and none in the gzip header.
listing="$(tar --numeric-owner -tvzf "$archive")" || fail "tar cannot read $archive"
names="$(tar -tzf "$archive" | grep -v '/$' | sort | tr '\n' ' ')"
want=""
for size in 128x128 16x16 22x22 24x24 256x256 32x32 48x48 64x64; do
  want+="$top/icons/hicolor/$size/apps/gravisk.png "
done
want="$top/LICENSE $top/LICENSE-SDL.txt $top/README.txt $top/gravisk $top/gravisk.6 $want"
want+="$top/icons/hicolor/scalable/apps/gravisk.svg $top/menu.sh "
[ "$names" = "$want" ] || fail "the archive holds $names"
[ -z "$(tar -tzf "$archive" | grep -v "^$top/")" ] || fail "the archive has files outside $top/"
owners="$(awk '{print $2}' <<<"$listing" | sort -u)"
[ "$owners" = 0/0 ] || fail "owners in the archive: $owners"
stamp="$(date -u -d "@$(git -C "$root" log -1 --format=%ct)" '+%Y-%m-%d %H:%M')"
dates="$(awk '{print $4, $5}' <<<"$listing" | sort -u)"
[ "$dates" = "$stamp" ] || fail "time stamps in the archive: $dates, not the last commit's $stamp"
[ "$(od -An -tx1 -j4 -N4 "$archive" | tr -d ' ')" = 00000000 ] || fail "the gzip header holds a time"
modes="$(awk '$6 ~ /\/(gravisk|menu\.sh)$/ {print $1}' <<<"$listing" | sort -u)"
[ "$modes" = "-rwxr-xr-x" ] || fail "gravisk and menu.sh are $modes"
ok "archive: one folder $top/ of 15 files, owner 0/0, dated $stamp"

mkdir -p "$tmp/unpacked"
tar -xzf "$archive" -C "$tmp/unpacked"
game="$tmp/unpacked/$top/gravisk"

# What the program needs of the system: only these libraries, no glibc symbol
# newer than 2.34 (Ubuntu 22.04's), nothing of libstdc++'s.
needed="$(readelf -d "$game" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort | tr '\n' ' ')"
# libxcb comes with every libX11, which is built on it.
allowed=" $loader libX11.so.6 libXext.so.6 libxcb.so.1 libc.so.6 libgcc_s.so.1 libm.so.6 "
for lib in $needed; do
  [[ $allowed == *" $lib "* ]] || fail "the program needs $lib (all it needs: $needed)"
done
built_for="$(readelf -h "$game" | sed -n 's/^ *Machine: *//p')"
[ "$built_for" = "$elf" ] || fail "the $machine archive's program is for $built_for"
readelf -V -W "$game" | sed -n 's/.*Name: \([A-Z_]*_[0-9.]*\) .*/\1/p' | sort -Vu >"$tmp/versions"
newest="$(grep '^GLIBC_2' "$tmp/versions" | tail -n1)"
[ "$(printf '%s\nGLIBC_2.34\n' "$newest" | sort -V | tail -n1)" = GLIBC_2.34 ] ||
  fail "the program needs $newest: $(readelf --dyn-syms -W "$game" | grep -o "[^ ]*@$newest" | tr '\n' ' ')"
! grep -E 'GLIBCXX_|CXXABI_' "$tmp/versions" >&2 || fail "the program needs libstdc++'s symbols (above)"
# SDL loads its back ends itself when it uses them: the Wayland ones and libdecor
# are inside for Wayland desktops, though the program needs none of their libraries.
for lib in libwayland-client.so.0 libdecor-0.so.0 libxkbcommon.so.0 libXcursor.so.1; do
  grep -qaF "$lib" "$game" || fail "SDL in the program does not load $lib"
done
ok "$machine program needs only $needed; newest symbol $newest; loads Wayland, libdecor, Xcursor on demand"

# menu.sh, in a private home with a space and a dollar in the folder's path: its
# entry validates, starts this program with Xvfb as the desktop, and --remove
# leaves the home as it was. Nothing outside ~/.local/share is written. (The
# script is the same in every archive; the program started must run here.)
[ "$machine" != "$(uname -m)" ] || (
  X_TMP="$tmp/menu"
  mkdir -p "$X_TMP"
  source "$root/tests/support/x_session.sh"
  trap x_stop EXIT
  folder="$HOME/My Games/\$1 \"x\"/$top"
  mkdir -p "$folder"
  cp -a "$tmp/unpacked/$top/." "$folder/"
  program="$folder/gravisk"
  mkdir -p "$HOME/.local/share" # as in every desktop's home
  export XDG_DATA_HOME="$HOME/my data"
  mkdir -p "$XDG_DATA_HOME"
  snapshot() { find "$HOME" -path "$folder" -prune -o -print | sort; }
  snapshot >"$X_TMP/before"
  "$folder/menu.sh" >"$X_TMP/menu.log" 2>&1 || fail "menu.sh: $(cat "$X_TMP/menu.log")"
  entry="$XDG_DATA_HOME/applications/io.github.gravisk.Gravisk.desktop"
  [ -f "$entry" ] || fail "menu.sh wrote no $entry"
  desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
  while IFS= read -r path; do
    case "$path" in
      "$XDG_DATA_HOME"/applications | "$XDG_DATA_HOME"/applications/*) ;;
      "$XDG_DATA_HOME"/icons | "$XDG_DATA_HOME"/icons/hicolor | "$XDG_DATA_HOME"/icons/hicolor/*) ;;
      *) [[ $XDG_DATA_HOME == "$path" || $XDG_DATA_HOME == "$path"/* ]] || fail "menu.sh wrote $path" ;;
    esac
  done < <(comm -13 "$X_TMP/before" <(snapshot))
  for png in "$XDG_DATA_HOME"/icons/hicolor/*x*/apps/gravisk.png; do
    size="$(basename "$(dirname "$(dirname "$png")")")"
    [ "$(identify -format '%wx%h' "$png")" = "$size" ] || fail "$png is $(identify -format '%wx%h' "$png")"
  done
  [ -s "$XDG_DATA_HOME/icons/hicolor/48x48/apps/gravisk.png" ] || fail "no 48x48 icon"
  [ -s "$XDG_DATA_HOME/icons/hicolor/scalable/apps/gravisk.svg" ] || fail "no scalable icon"
  grep -qx 'Icon=gravisk' "$entry" || fail "the entry's icon is not gravisk: $(grep Icon= "$entry")"

  # GLib reads the entry as desktops do and starts what its Exec says, on a desktop
  # with a session bus (without one, libdbus in SDL would start one of its own).
  start_xvfb
  dbus-daemon --session --nofork --nopidfile --print-address=5 5>"$X_TMP/bus" 2>"$X_TMP/bus.log" &
  X_PIDS+=($!)
  wait_for 10 grep -q . "$X_TMP/bus" || fail "no session bus: $(cat "$X_TMP/bus.log")"
  DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$X_TMP/bus")"
  export DBUS_SESSION_BUS_ADDRESS
  game_window() { xdotool search --onlyvisible --name '^Gravisk V2\.0$'; }
  gio launch "$entry" >"$X_TMP/gio.log" 2>&1 || fail "gio launch $entry: $(cat "$X_TMP/gio.log")"
  wait_for 10 game_window || fail "the menu entry opened no game window"
  win="$(game_window)"
  pid="$(xprop -id "$win" _NET_WM_PID | awk '{print $NF}')"
  X_PIDS+=("$pid")
  [ "$(readlink "/proc/$pid/exe")" = "$program" ] ||
    fail "the menu entry started $(readlink "/proc/$pid/exe"), not $program"
  "$headless" --out "$X_TMP/start.ppm" >/dev/null
  shows_start() { timeout 2 import -window "$win" "$X_TMP/shot.png" &&
    [ "$(pixels_differ "$X_TMP/shot.png" "$X_TMP/start.ppm")" = 0 ]; }
  wait_for 5 shows_start || fail "the game started from the menu does not show level 1"
  kill "$pid"
  gone() { ! kill -0 "$pid"; }
  wait_for 10 gone || fail "the game started from the menu did not end"
  ok "menu.sh: the entry validates, its icons are the sizes they say, it starts $program"

  "$folder/menu.sh" --remove >"$X_TMP/menu.log" 2>&1 || fail "menu.sh --remove: $(cat "$X_TMP/menu.log")"
  left="$(comm -3 "$X_TMP/before" <(snapshot))"
  [ -z "$left" ] || fail "after menu.sh --remove the home differs: $left"
  # With no XDG_DATA_HOME, the same in ~/.local/share.
  (unset XDG_DATA_HOME && "$folder/menu.sh" >/dev/null) || fail "menu.sh without XDG_DATA_HOME"
  [ -x "$(sed -n 's/^TryExec=//p' "$HOME/.local/share/applications/io.github.gravisk.Gravisk.desktop")" ] ||
    fail "the entry's TryExec is not the program"
  [ -f "$HOME/.local/share/applications/io.github.gravisk.Gravisk.desktop" ] ||
    fail "without XDG_DATA_HOME, menu.sh wrote no entry into ~/.local/share/applications"
  (unset XDG_DATA_HOME && "$folder/menu.sh" --remove >/dev/null) || fail "menu.sh --remove"
  left="$(comm -3 "$X_TMP/before" <(snapshot))"
  [ -z "$left" ] || fail "after menu.sh --remove the home differs: $left"
  ok "menu.sh --remove leaves the home as it was, with XDG_DATA_HOME and without"
) || exit 1
[ "$machine" = "$(uname -m)" ] || echo "menu.sh not started: the program is for $machine"

# A minimal Debian 12 (debootstrap's minbase: about 200 MB, a minute's download),
# with Xlib added and nothing else: no SDL, no libstdc++ beyond what apt needs.
minroot="$root/build/minbase-bookworm"
emulator="" wait_scale=1
if [ "$arch" != amd64 ]; then
  # Another architecture's root is fetched and unpacked here, and its programs run
  # under qemu's user-mode emulator, put into the root, many times slower.
  minroot="$root/build/minbase-bookworm-$arch"
  qemu="$(command -v "qemu-$machine-static")" || fail "no qemu-$machine-static"
  emulator="/usr/bin/qemu-$machine-static" wait_scale=8
fi
if [ ! -f "$minroot/.complete" ]; then
  $sudo rm -rf "$minroot" "$minroot.tmp"
  foreign=()
  [ "$arch" != amd64 ] && foreign=(--arch="$arch" --foreign)
  $sudo debootstrap "${foreign[@]}" --variant=minbase --include=libx11-6,libxext6 bookworm \
    "$minroot.tmp" http://deb.debian.org/debian >"$tmp/debootstrap.log" 2>&1 ||
    fail "debootstrap: $(tail -n 5 "$tmp/debootstrap.log")"
  if [ "$arch" != amd64 ]; then
    for deb in "$minroot.tmp"/var/cache/apt/archives/*.deb; do $sudo dpkg-deb -x "$deb" "$minroot.tmp"; done
    $sudo rm -f "$minroot.tmp"/var/cache/apt/archives/*.deb
    $sudo cp "$qemu" "$minroot.tmp/usr/bin/"
  fi
  $sudo mkdir -p "$minroot.tmp/tmp/.X11-unix" "$minroot.tmp/mnt"
  $sudo touch "$minroot.tmp/.complete"
  $sudo mv "$minroot.tmp" "$minroot"
fi
[ -z "$(find "$minroot/usr/lib" -name 'libSDL2*' -o -name 'libwayland*' -o -name 'libdecor*')" ] ||
  fail "the minimal root has SDL, Wayland or libdecor"
[ -n "$(find "$minroot/usr/lib" -name 'libX11.so.6')" ] || fail "the minimal root has no libX11"

# The program runs in the root from a folder mounted at /mnt, the X server's socket
# mounted in beside it, both in a mount namespace of its own that ends with it.
runner="$tmp/gravisk-minroot"
cat >"$runner" <<EOF
#!/bin/sh
exec $sudo unshare --mount sh -c 'mount --bind /tmp/.X11-unix "\$1/tmp/.X11-unix" &&
  mount --bind "\$2" "\$1/mnt" &&
  exec env -i HOME=/root PATH=/usr/bin:/bin DISPLAY="\$3" $(command -v chroot) "\$1" $emulator /mnt/gravisk' \
  sh "$minroot" "$tmp/unpacked/$top" "\$DISPLAY"
EOF
chmod +x "$runner"
touch "$tmp/before-play"
sleep 1 # a file the game wrote must be newer than the mark, to the second
# The win test closes the window as a window manager's close box does.
c++ -std=c++20 -O1 -o "$tmp/send_wm_delete" "$root/tests/e2e/send_wm_delete.cpp" -lX11 ||
  fail "cannot build send_wm_delete"
for test in play:none win:openbox; do
  GRAVISK="$runner" HEADLESS="$headless" WM="${test#*:}" E2E_SCRATCH="$tmp" X_WAIT_SCALE=$wait_scale \
    SEND_WM_DELETE="$tmp/send_wm_delete" \
    bash "$root/tests/e2e/${test%:*}_test.sh" >"$tmp/${test%:*}.log" 2>&1 ||
    { tail -n 20 "$tmp/${test%:*}.log" >&2; fail "the archive's program in the minimal root: ${test%:*}_test.sh"; }
done
written="$($sudo find "$minroot" -xdev -newer "$tmp/before-play" | head)"
[ -z "$written" ] || fail "the game wrote into the minimal root: $written"
ok "plays and wins in a minimal Debian 12 $arch root with no SDL${emulator:+ (under qemu)}; writes nothing there"
