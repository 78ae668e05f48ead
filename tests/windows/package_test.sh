#!/usr/bin/env bash
# The Windows zip as a person gets it: it holds the program, the fonts' licences and a
# README and nothing else; the program is a GUI program that needs only Windows' own DLLs
# and carries its icon, version information and DPI-aware manifest. Unpacked into a scratch
# folder and started in a fresh Wine prefix with nothing else installed, it asks its question
# and opens its window. Run under xvfb-run.
#   package_test.sh ZIP CMAKE OBJDUMP WINDRES
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
zip="$1"
cmake="$2"
objdump="$3"
windres="$4"
wine_run="$here/../../tools/windows/wine_run.sh"

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

# --- Started from the unpacked folder in a fresh Wine prefix. ---------------------------------------
export WINEPREFIX="$work/wine-prefix"
"$wine_run" --prepare || { fail "no Wine prefix could be made"; finish; }
printf '#!/bin/sh\ncd "%s" && exec "%s" musicdisk.exe\n' "$(dirname "$exe")" "$wine_run" >"$work/disk"
chmod +x "$work/disk"
start_program "$work/disk" "SDL_DISKAUDIOFILE=Z:$work/sound.raw"
if box="$(wait_window '!($2 == 800 && $3 == 600) && $2 < 700' 30)"; then
  pass "it asks its question"
  sleep 0.3
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key n
  if win="$(wait_window '$2 == 800 && $3 == 600' 30)"; then
    pass "N opens its 800x600 window"
    check "it draws the disk" wait_screen start 10 showing_disk
    press Escape
    wait_exit 15
    check "Escape exits 0 (got $rc)" test "$rc" = 0
  else
    fail "no 800x600 window after N"
  fi
else
  fail "no question box within 30 s"
fi
finish
