#!/usr/bin/env bash
# Runs a Windows program of this build under Wine, as ctest's emulator for the Windows tests:
#
#   tools/windows/wine_run.sh PROGRAM.exe [ARGUMENTS...]
#   tools/windows/wine_run.sh --prepare        only make the prefix (wineboot, about 10 s)
#
# The Wine prefix is $WINEPREFIX; ./setup.sh gives each test run a fresh one in a temporary
# folder (default here: /tmp/musicdisk-wine-$UID). A prefix that does not exist yet is made
# first, once, even when several tests start at the same moment. Without $DISPLAY the
# program gets a virtual X server of its own (Wine's windows, GL and message boxes need one).
set -euo pipefail

[[ $# -ge 1 ]] || { echo "usage: $0 PROGRAM.exe [ARGUMENTS...]" >&2; exit 2; }

wine="$(command -v wine64 || true)"
[[ -n "$wine" ]] || wine=/usr/lib/wine/wine64
[[ -x "$wine" ]] || { echo "wine_run.sh: wine64 is not installed (apt-get install wine64)" >&2; exit 2; }
wineserver="$(command -v wineserver || echo "$(dirname "$wine")/wineserver")"

export WINEPREFIX="${WINEPREFIX:-/tmp/musicdisk-wine-$(id -u)}"
export WINEARCH=win64
# No offers to download Mono or Gecko, and none of Wine's own chatter in the test logs.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
      "$wine" wineboot -i >/dev/null 2>&1 || { echo "wine_run.sh: wineboot failed" >&2; exit 1; }
      "$wineserver" -w  # the prefix is complete once Wine's own start-up has ended
    fi
  ) 9>"$WINEPREFIX.lock"
fi

[[ "$1" == --prepare ]] && exit 0

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$wine" "$@"
fi
exec "$wine" "$@"
