#!/usr/bin/env bash
# A window's display ends while two threads use it (DisplayLossCheck.cpp):
# each run must end in order with status 1 within 10 s, never hang or die of
# SIGPIPE. In the "idle" runs the second thread alone meets the loss and must
# come back out of Xlib; in the others either thread may meet it first, so
# they run several times.
# Usage: RealDisplayLoss.sh PROGRAM
set -u
program=$1
source "$(cd "$(dirname "$0")" && pwd)/../XServer.sh"
skip_without Xvfb

work=$(mktemp -d "${TMPDIR:-/tmp}/lumo-display-loss.XXXXXX")
checker=
cleanup()
{
  [ -n "$checker" ] && kill -KILL "$checker" 2>/dev/null
  end_x_server
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
number=0
for run in idle busy idle busy busy busy; do
  number=$((number + 1))
  out=$work/out.$number.txt
  err=$work/err.$number.txt
  start_x_server || exit 1
  HOME="$work" XDG_CACHE_HOME="$work/.cache" "$program" ${run/busy/} >"$out" 2>"$err" &
  checker=$!
  if ! wait_for_line "$out" ready; then
    echo "FAILED: $run: the window never showed"
    kill -KILL "$checker" 2>/dev/null
  else
    end_x_server
    if ! timeout 10 tail --pid="$checker" -f /dev/null; then
      echo "FAILED: $run: still running 10 s after the display ended"
      kill -KILL "$checker" 2>/dev/null
    fi
  fi
  wait "$checker" 2>/dev/null
  status=$?
  checker=
  expected="saved in order"
  [ "$run" = idle ] && expected="saved in order; the cursor thread returned"
  if [ "$status" -ne 1 ] || ! grep -qxF "$expected" "$out"; then
    echo "FAILED: $run: status $status (1 expected); output: $(tr '\n' '|' <"$out"); $(tail -n 3 "$err")"
    failures=$((failures + 1))
  fi
  end_x_server
done
[ $failures -eq 0 ] || exit 1
echo "every run ended in order"
