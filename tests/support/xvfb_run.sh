#!/usr/bin/env bash
# Runs a command on a virtual X server of its own, as `xvfb-run -a -s ARGS COMMAND...` does,
# but the server chooses a free display number itself (-displayfd): tests that start servers
# at the same moment never pick the same number, and the command starts only once the
# server has said it is ready. Exits with the command's status.
#   xvfb_run.sh [-a] [-s "SERVER ARGUMENTS"] COMMAND...
set -uo pipefail
server_args=""
while (($#)); do
  case "$1" in
    -a) shift ;;
    -s) server_args="$2"; shift 2 ;;
    *) break ;;
  esac
done
(($#)) || { echo "usage: xvfb_run.sh [-a] [-s ARGS] COMMAND..." >&2; exit 2; }

dir="$(mktemp -d)"
server=""
stop() {
  [[ -n "$server" ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$dir"
}
trap stop EXIT
trap 'exit 143' TERM INT

# -noreset: an X server resets whenever its last client leaves, and while it does it turns
# new connections away ("cannot open display"). Between a test's steps it often has no
# client at all (one program ended, the next not yet started), so without this the next
# step now and then could not connect.
# shellcheck disable=SC2086  # the server arguments are words, as xvfb-run takes them
Xvfb -displayfd 3 -nolisten tcp -noreset $server_args 3>"$dir/display" 2>"$dir/server.log" &
server=$!
for ((i = 0; i < 600; i++)); do  # a minute: a busy machine can be slow to start one
  [[ -s "$dir/display" ]] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
if [[ ! -s "$dir/display" ]]; then
  echo "xvfb_run.sh: the X server did not start:" >&2
  cat "$dir/server.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$dir/display")"
unset XAUTHORITY
"$@"
status=$?
# A server that went away under the command fails it in ways that point elsewhere ("Can't
# open a display", no window): say so, with what the server said.
if ! kill -0 "$server" 2>/dev/null; then
  echo "xvfb_run.sh: the X server ended while the command ran:" >&2
  cat "$dir/server.log" >&2
fi
exit "$status"
