#!/bin/sh
# Puts Gravisk into the desktop's menu for this user: a desktop entry that starts
# the program in this folder by its absolute path, and the icon at each size, all
# in your own ~/.local/share (or $XDG_DATA_HOME). Nothing is written anywhere else.
#   ./menu.sh            add Gravisk to the menu (again after moving this folder)
#   ./menu.sh --remove   take it out again
set -eu

entry_name=io.github.gravisk.Gravisk.desktop
icon_name=gravisk
data="${XDG_DATA_HOME:-}"
if [ -z "$data" ]; then
  [ -n "${HOME:-}" ] || { echo "menu.sh: HOME is not set" >&2; exit 1; }
  data="$HOME/.local/share"
fi
here="$(cd "$(dirname "$0")" && pwd -P)"
program="$here/gravisk"
entry="$data/applications/$entry_name"

# The icon sizes this folder holds (icons/hicolor/SIZE/apps), as the theme names them.
icon_sizes() { (cd "$here/icons/hicolor" && ls -d -- *); }

# A folder this script made is removed again when it is left empty; one that held
# other files stays.
remove_empty() {
  dir="$1"
  while [ "$dir" != "$data" ] && [ "${dir#"$data"/}" != "$dir" ]; do
    rmdir -- "$dir" 2>/dev/null || return 0
    dir="$(dirname -- "$dir")"
  done
}

remove() {
  rm -f -- "$entry"
  remove_empty "$data/applications"
  for size in $(icon_sizes); do
    for file in "$data/icons/hicolor/$size/apps/$icon_name".*; do
      [ -e "$file" ] || continue
      rm -f -- "$file"
      remove_empty "$data/icons/hicolor/$size/apps"
    done
  done
}

case "${1:-}" in
  --remove)
    remove
    echo "Gravisk is no longer in the menu."
    exit 0
    ;;
  "") ;;
  *)
    echo "usage: $0 [--remove]" >&2
    exit 2
    ;;
esac

[ -x "$program" ] || { echo "menu.sh: no program at $program" >&2; exit 1; }
case "$program" in
  *"
"*) echo "menu.sh: the folder's path holds a line break; move the folder" >&2; exit 1 ;;
esac

# The program's path as one quoted argument of Exec: \ " ` $ escaped inside the
# quotes, % doubled, then every backslash doubled once more for the file's string.
quoted="$(printf '%s' "$program" | sed -e 's/[\\"`$]/\\&/g' -e 's/%/%%/g' -e 's/\\/\\\\/g')"

for size in $(icon_sizes); do
  mkdir -p "$data/icons/hicolor/$size/apps"
  for file in "$here/icons/hicolor/$size/apps/$icon_name".*; do
    cp -- "$file" "$data/icons/hicolor/$size/apps/"
  done
done
# The Debian package's menu entry but for these: the program by its path (TryExec
# hides the entry should the folder be deleted first) and the icon by its name.
mkdir -p "$data/applications"
{
  cat <<'EOF'
@ENTRY@
EOF
  printf 'Exec="%s"\n' "$quoted"
  printf 'TryExec=%s\n' "$(printf '%s' "$program" | sed -e 's/\\/\\\\/g')"
  printf 'Icon=%s\n' "$icon_name"
} >"$entry.tmp"
mv -f -- "$entry.tmp" "$entry"
echo "Gravisk is in the menu (Games); it starts $program."
echo "Run $0 --remove to take it out again, or again after moving this folder."
