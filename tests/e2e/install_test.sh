#!/bin/bash
# Installs the build into a temporary prefix and checks that the game and its
# desktop files land where desktops look for them.
set -u
build_dir=$1
prefix=$(mktemp -d /tmp/gravisk-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
status=0
for file in bin/gravisk share/applications/io.github.gravisk.Gravisk.desktop \
  share/metainfo/io.github.gravisk.Gravisk.metainfo.xml \
  share/icons/hicolor/scalable/apps/gravisk.svg; do
  if [[ -s $prefix/$file ]]; then echo "ok: $file"; else echo "FAIL: $file missing" >&2; status=1; fi
done
[[ -x $prefix/bin/gravisk ]] || { echo "FAIL: bin/gravisk is not executable" >&2; status=1; }
desktop-file-validate "$prefix/share/applications/io.github.gravisk.Gravisk.desktop" || status=1
exit $status
