#!/usr/bin/env bash
# The setup program under Wine, in a fresh prefix, as a Windows player meets it: a
# silent install puts Gravisk.exe in %LOCALAPPDATA%\Programs\Gravisk, a shortcut in
# the Start menu and an entry in "Installed apps"; the shortcut starts the game,
# which plays; installing again keeps one entry in the same folder, also when the
# first install went elsewhere; the wizard, page by page, installs the same and its
# last page starts the game; the silent uninstall leaves nothing of it. The setup
# program and its uninstaller carry the game's icon and the release's version.
# Usage: installer_test.sh Gravisk-VERSION-setup.exe VERSION Gravisk.exe gravisk.ico
#        gravisk_headless scratch-dir
setup=$(realpath "$1") version=$2 exe=$(realpath "$3") ico=$(realpath "$4") headless=$(realpath "$5")
WINE_TEST_DIR=$(realpath -m "$6")
export WINE_TEST_DIR
rm -rf "$WINE_TEST_DIR"
mkdir -p "$WINE_TEST_DIR/home"
export WINEPREFIX=$WINE_TEST_DIR/prefix HOME=$WINE_TEST_DIR/home
here=$(dirname "$0")
source "$here/wine_session.sh"
# No menu entries of the Windows shortcuts on this machine's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
need wrestool icotool iconv od

ensure_prefix
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# A Windows variable, and a Windows path as a path here.
win_var() { wine cmd /c echo "%$1%" | tr -d '\r'; }
unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# Everything in the prefix but the registry files, which Wine rewrites at every run.
prefix_files() { (cd "$WINEPREFIX" && find . -type f ! -name '*.reg' | sort); }
# The registry's uninstall entries that name Gravisk.
entries() { wine reg query "$key" | tr -d '\r' | grep -i gravisk || true; }
# reg_value NAME: one value of Gravisk's entry; nothing if it has none.
reg_value() {
  { wine reg query "$key\\Gravisk" /v "$1" || true; } | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
# run PROGRAM ARGS...: runs a Windows program and waits for everything it started
# (the uninstaller hands over to a copy of itself and returns at once).
run() {
  timeout -s KILL 120 wine "$@" >"$WINE_TEST_DIR/run.log" 2>&1 || fail "$* failed: $(cat "$WINE_TEST_DIR/run.log")"
  timeout -s KILL 120 wineserver -w
}

# uninstall WINDIR: the silent uninstall. The uninstaller runs from a copy of itself
# in %TEMP%, which it leaves to the next start of Windows to delete: a restart
# (wineboot -r) follows.
uninstall() {
  run "$(unix_path "$1\uninstall.exe")" /S
  run wineboot -r
}

before=$(prefix_files)
default_dir=$(win_var LOCALAPPDATA)'\Programs\Gravisk'
start_menu=$(win_var APPDATA)'\Microsoft\Windows\Start Menu\Programs'
shortcut=$(unix_path "$start_menu\\Gravisk.lnk")
[ -n "$shortcut" ] || fail "no Start menu folder in the prefix"

# expect_installed WINDIR: Gravisk is installed in WINDIR, with its shortcut and one
# "Installed apps" entry that points there.
expect_installed() {
  local windir=$1 dir names
  dir=$(unix_path "$windir")
  names=$(cd "$dir" && find . -mindepth 1 | sort | tr '\n' ' ')
  [ "$names" = "./Gravisk.exe ./LICENSE.txt ./uninstall.exe " ] || fail "$windir holds $names"
  cmp -s "$dir/Gravisk.exe" "$exe" || fail "the installed Gravisk.exe is not the release's"
  [ -s "$shortcut" ] || fail "no shortcut $start_menu\\Gravisk.lnk"
  # A shortcut names its target in UTF-16.
  iconv -f UTF-16LE -t UTF-8 "$shortcut" 2>/dev/null | grep -aqF "$windir\\Gravisk.exe" ||
    grep -aqF "$windir\\Gravisk.exe" "$shortcut" || fail "the shortcut does not start $windir\\Gravisk.exe"
  [ "$(entries | grep -c .)" = 1 ] || fail "not one uninstall entry: $(entries)"
  local pair
  for pair in "DisplayName=Gravisk" "DisplayVersion=$version" \
    "Publisher=The Gravisk developers" "DisplayIcon=$windir\\Gravisk.exe" \
    "InstallLocation=$windir" "UninstallString=\"$windir\\uninstall.exe\"" \
    "QuietUninstallString=\"$windir\\uninstall.exe\" /S"; do
    [ "$(reg_value "${pair%%=*}")" = "${pair#*=}" ] ||
      fail "${pair%%=*} is \"$(reg_value "${pair%%=*}")\", not \"${pair#*=}\""
  done
  # The size in KiB of the installed files (each rounded down by the installer).
  local size kib
  size=$(reg_value EstimatedSize)
  [[ $size == 0x* ]] || fail "EstimatedSize is \"$size\", not a number of KiB"
  kib=$(($(cat "$dir"/* | wc -c) / 1024))
  ((size >= kib - 3 && size <= kib)) || fail "EstimatedSize is $size KiB; the files take $kib KiB"
  echo "ok: installed in $windir, shortcut, one entry of $((size)) KiB"
}

# expect_removed: nothing of the game in the prefix, in files or in the registry;
# the empty folders Windows keeps for any program aside.
expect_removed() {
  local added
  added=$(comm -13 <(echo "$before") <(prefix_files))
  [ -z "$added" ] || fail "left after uninstalling: $added"
  [ -z "$(entries)" ] || fail "an uninstall entry is left: $(entries)"
  ! grep -il gravisk "$WINEPREFIX"/*.reg || fail "the registry still names Gravisk"
  ! find "$WINEPREFIX/drive_c" -iname '*gravisk*' | grep . || fail "a Gravisk folder is left"
  echo "ok: uninstalled, nothing left"
}

# The setup program's and the uninstaller's icon is the game's, their version the release's.
expect_icon_and_version() {
  local program=$1 what=$2 dir="$WINE_TEST_DIR/resources-$2"
  mkdir -p "$dir/built" "$dir/source"
  wrestool -x --type=14 "$program" >"$dir/built/icon.ico" || fail "$what has no icon"
  cp "$ico" "$dir/source/icon.ico"
  [ "$(icotool -l "$dir/built/icon.ico")" = "$(icotool -l "$dir/source/icon.ico")" ] ||
    fail "$what's icon has other images than gravisk.ico: $(icotool -l "$dir/built/icon.ico")"
  icotool -x -o "$dir/built" "$dir/built/icon.ico"
  icotool -x -o "$dir/source" "$dir/source/icon.ico"
  local png
  for png in "$dir"/source/icon_*.png; do
    [ "$(pixels_differ "$png" "$dir/built/$(basename "$png")")" = 0 ] ||
      fail "$what's icon image $(basename "$png") differs from gravisk.ico's"
  done
  wrestool -x --raw --type=16 "$program" >"$dir/version.bin" || fail "$what has no version record"
  iconv -f UTF-16LE -t UTF-8 "$dir/version.bin" 2>/dev/null | tr -c '[:print:]' '\n' |
    sed '/^$/d' >"$dir/version.txt" || true
  for pair in "ProductName Gravisk" "ProductVersion $version" "FileVersion $version"; do
    [ "$(grep -A1 -x "${pair% *}" "$dir/version.txt" | tail -n1)" = "${pair#* }" ] ||
      fail "$what's version string ${pair% *} is not \"${pair#* }\""
  done
  # The fixed part after the signature 0xFEEF04BD: product version VERSION.0.0.
  local words major minor
  words=$(od -An -v -tx4 -w4 "$dir/version.bin" | tr -d ' ' | grep -A5 -x feef04bd | tr '\n' ' ')
  read -r _ _ _ _ product_ms product_ls <<<"$words"
  major=${version%%.*} minor=${version#*.}
  [ "$product_ms,$product_ls" = "$(printf '%04x%04x,00000000' "$major" "$minor")" ] ||
    fail "$what's product version is $product_ms $product_ls, not $version.0.0"
  echo "ok: $what carries the game's icon and version $version"
}
expect_icon_and_version "$setup" "the setup program"

start_display
run "$setup" /S
expect_installed "$default_dir"
expect_icon_and_version "$(unix_path "$default_dir\\uninstall.exe")" "the uninstaller"

# The Start menu's shortcut starts the game, which plays as the program does.
bash "$here/window_test.sh" "$shortcut" "$headless" "$WINE_TEST_DIR/window" "$WINEPREFIX" \
  >"$WINE_TEST_DIR/window.log" 2>&1 || { tail -n 20 "$WINE_TEST_DIR/window.log" >&2; fail "the shortcut's game"; }
echo "ok: the shortcut starts the game, which plays and closes with status 0"

# The same release again, over the installed one.
run "$setup" /S
expect_installed "$default_dir"

uninstall "$default_dir"
expect_removed

# The wizard as a player goes through it with Return, each page's default button:
# the welcome, the licence (I Agree), the folder (Install); then the last page,
# whose ticked "Start Gravisk" box starts the game on Finish. A page has been turned
# when the window's picture changes; the last page shows the welcome's picture on
# its left.
page_turned() {
  shoot_client "$wizard" "$WINE_TEST_DIR/page.png" &&
    (($(pixels_differ "$WINE_TEST_DIR/page.png" "$1") > 5000))
}
left_side() { convert "$1" -crop 164x314+0+0 +repage "$2"; }
last_page() {
  shoot_client "$wizard" "$WINE_TEST_DIR/page.png" && left_side "$WINE_TEST_DIR/page.png" "$WINE_TEST_DIR/left.png" &&
    [ "$(pixels_differ "$WINE_TEST_DIR/left.png" "$WINE_TEST_DIR/welcome-left.png")" = 0 ]
}
start_game "$setup"
wizard=$(wait_window "Gravisk $version Setup")
wait_focus "$wizard"
shoot_client "$wizard" "$WINE_TEST_DIR/page-welcome.png"
left_side "$WINE_TEST_DIR/page-welcome.png" "$WINE_TEST_DIR/welcome-left.png"
previous=welcome
for page in licence folder; do
  press Return
  wait_for 30 page_turned "$WINE_TEST_DIR/page-$previous.png" || fail "the wizard stays on its $previous page"
  cp "$WINE_TEST_DIR/page.png" "$WINE_TEST_DIR/page-$page.png"
  previous=$page
done
press Return
wait_for 60 last_page || fail "the wizard did not come to its last page"
cp "$WINE_TEST_DIR/page.png" "$WINE_TEST_DIR/page-finish.png"
expect_installed "$default_dir"
press Return
wait_game_end 30
[ "$game_exit" = 0 ] || fail "the setup program ended with status $game_exit"
game=$(wait_window "Gravisk V2.0")
wait_focus "$game"
press alt+F4
wait_gone "Gravisk V2.0"
timeout -s KILL 60 wineserver -w
echo "ok: the wizard installs and its last page starts the game"
uninstall "$default_dir"
expect_removed

# Installed elsewhere first, the next install goes to the same folder.
run "$setup" /S '/D=C:\Games\Gravisk'
expect_installed 'C:\Games\Gravisk'
run "$setup" /S
expect_installed 'C:\Games\Gravisk'
[ ! -e "$(unix_path "$default_dir")" ] || fail "the second install went to $default_dir"
uninstall 'C:\Games\Gravisk'
expect_removed
echo "PASS"
