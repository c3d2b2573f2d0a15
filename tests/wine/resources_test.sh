#!/usr/bin/env bash
# Gravisk.exe as a file: a GUI program needing no DLL beyond Windows' own, whose first
# icon resource is the game's icon with its three images, whose version record says
# 1.00 / Gravisk, and whose manifest declares it aware of each monitor's dpi.
# Usage: resources_test.sh Gravisk.exe assets/gravisk.ico scratch-dir
exe=$1 ico=$2 dir=$3
set -euo pipefail
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in x86_64-w64-mingw32-objdump wrestool icotool compare iconv od; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup-debian.sh windows)"
done
rm -rf "$dir" && mkdir -p "$dir"

# Imports and subsystem.
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a GUI program"
dlls=$(echo "$headers" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
echo "DLLs:" $dlls
[ -n "$dlls" ] || fail "no imports found"
for dll in $dlls; do
  case "$dll" in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | HID.DLL | MSVCRT.DLL | API-MS-WIN-CRT-*.DLL) ;;
    *) fail "Gravisk.exe needs $dll" ;;
  esac
done
for dll in USER32.DLL GDI32.DLL HID.DLL; do
  grep -qx "$dll" <<<"$dlls" || fail "no $dll among the imports"
done

# The icon: the first icon group (name 1) holds the three images of assets/gravisk.ico.
first=$(wrestool -l --type=14 "$exe" | head -n1)
echo "$first"
[[ "$first" == *"--name=1 "* ]] || fail "the first icon group is not resource 1: $first"
wrestool -x --type=14 --name=1 "$exe" >"$dir/group.ico"
icotool -l "$dir/group.ico" >"$dir/group.txt"
cat "$dir/group.txt"
expected="--icon --index=1 --width=32 --height=32 --bit-depth=4 --palette-size=16
--icon --index=2 --width=32 --height=32 --bit-depth=1 --palette-size=2
--icon --index=3 --width=16 --height=16 --bit-depth=4 --palette-size=16"
[ "$(cat "$dir/group.txt")" = "$expected" ] || fail "the icon's images are not 32x32x4, 32x32x1, 16x16x4"
mkdir -p "$dir/built" "$dir/source"
cp "$dir/group.ico" "$dir/built/icon.ico"
cp "$ico" "$dir/source/icon.ico"
icotool -x -o "$dir/built" "$dir/built/icon.ico"
icotool -x -o "$dir/source" "$dir/source/icon.ico"
for source in "$dir"/source/icon_*.png; do
  built="$dir/built/$(basename "$source")"
  [ -f "$built" ] || fail "no image like $(basename "$source") in the program"
  differ=$(compare -metric AE "$source" "$built" null: 2>&1 >/dev/null) || true
  [ "$differ" = 0 ] || fail "image $(basename "$source") differs from the program's: $differ pixels"
done

# The version record: the fixed part (after the signature 0xFEEF04BD) and the strings.
wrestool -x --raw --type=16 "$exe" >"$dir/version.bin"
words=$(od -An -v -tx4 -w4 "$dir/version.bin" | tr -d ' ' | grep -A5 -x feef04bd | tr '\n' ' ')
echo "VS_FIXEDFILEINFO: $words"
# signature, struct version, file version MS/LS, product version MS/LS
read -r _ _ fileMs fileLs productMs productLs <<<"$words"
[ "$fileMs,$fileLs" = "00010000,00000000" ] || fail "FILEVERSION is not 1,0,0,0 ($fileMs $fileLs)"
[ "$productMs,$productLs" = "00010000,00000000" ] || fail "PRODUCTVERSION is not 1,0,0,0"
iconv -f UTF-16LE -t UTF-8 "$dir/version.bin" 2>/dev/null | tr -c '[:print:]' '\n' |
  sed '/^$/d' >"$dir/version.txt" || true
for pair in "FileVersion 1.00" "ProductVersion 1.00" "ProductName Gravisk" \
  "InternalName Gravisk" "OriginalFilename Gravisk.exe"; do
  [ "$(grep -A1 -x "${pair% *}" "$dir/version.txt" | tail -n1)" = "${pair#* }" ] ||
    fail "version string ${pair% *} is not \"${pair#* }\""
done
blocks=$(grep -xE "[0-9A-F]{8}" "$dir/version.txt" || true)
grep -qx FileVersion <<<"$(grep -A2 -x 040904B0 "$dir/version.txt")" && [ "$blocks" = 040904B0 ] ||
  fail "the strings are not in block 040904B0: $(tr '\n' ' ' <"$dir/version.txt")"
# VarFileInfo comes last; its Translation value, language 0x0409 and code page 1200
# (0x04B0), is the last four bytes.
grep -qx Translation "$dir/version.txt" || fail "no VarFileInfo Translation"
translation=$(tail -c4 "$dir/version.bin" | od -An -tx1 | tr -d " \n")
[ "$translation" = 0904b004 ] || fail "Translation is $translation, not 0x409, 1200"
echo "version strings:" $(grep -A1 -xE "FileVersion|ProductVersion|ProductName|InternalName|OriginalFilename" "$dir/version.txt" | grep -v -- --)

# The manifest: per-monitor dpi awareness (v2 from Windows 10 1703, v1 before; the
# older dpiAware for Windows 7 and 8), run as the invoking user.
wrestool -x --raw --type=24 --name=1 "$exe" >"$dir/manifest.xml"
grep -q '<dpiAware[^>]*>true/pm</dpiAware>' "$dir/manifest.xml" ||
  fail "the manifest's dpiAware is not true/pm"
grep -q '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' "$dir/manifest.xml" ||
  fail "the manifest's dpiAwareness is not PerMonitorV2, PerMonitor"
grep -q 'level="asInvoker"' "$dir/manifest.xml" || fail "the manifest does not ask for asInvoker"
echo "PASS"
