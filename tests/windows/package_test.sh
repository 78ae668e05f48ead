#!/usr/bin/env bash
# The Windows zip as a person gets it: it holds the program, the fonts' licences and a
# README and nothing else; the program is a GUI program that needs only Windows' own DLLs
# and carries its icon, version information and DPI-aware manifest. (The sessions in
# wine_session_test.sh run the program from this zip.)
#   package_test.sh ZIP CMAKE OBJDUMP WINDRES
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
zip="$1"
cmake="$2"
objdump="$3"
windres="$4"

# --- What it holds. -------------------------------------------------------------------------------
mkdir -p "$work/unpacked"
(cd "$work/unpacked" && "$cmake" -E tar xf "$zip") || { fail "the zip does not unpack"; finish; }
folder="$(basename "$zip" .zip)"
listing="$(cd "$work/unpacked" && find . -type f | sort)"
expected="./$folder/OFL-CherryBomb.txt
./$folder/OFL-GNUTypewriter.txt
./$folder/README.txt
./$folder/musicdisk.exe"
check "it holds the program, the font licences and a README in one folder, nothing else" \
  test "$listing" = "$expected"
[[ "$listing" == "$expected" ]] || echo "$listing"
exe="$work/unpacked/$folder/musicdisk.exe"

# --- The program file. ----------------------------------------------------------------------------
headers="$("$objdump" -p "$exe")"
check "it is a 64-bit Windows GUI program" \
  grep -q 'Subsystem.*(Windows GUI)' <<<"$headers"
# Windows' own DLLs, present on every Windows since 7; anything else would have to ship beside it.
system_dlls="kernel32 msvcrt user32 gdi32 winmm imm32 ole32 oleaut32 shell32 shlwapi version
  advapi32 setupapi opengl32 comctl32 uxtheme dwmapi"
foreign=""
for dll in $(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers"); do
  grep -qw "${dll%.dll}" <<<"$system_dlls" || foreign+=" $dll"
done
check "it imports only Windows' own DLLs (not:$foreign)" test -z "$foreign"
resources="$("$windres" -i "$exe" -O rc 2>/dev/null)"
check "it carries an icon" grep -q 'RT_GROUP_ICON' <<<"$resources"
check "its version information names it and its version" \
  grep -q 'VALUE "ProductName", "VOK Music Collection #1"' <<<"$resources"
check "its manifest makes it per-monitor DPI aware" grep -q 'PerMonitorV2' <<<"$resources"

finish
