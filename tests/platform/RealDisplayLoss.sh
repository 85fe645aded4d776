#!/usr/bin/env bash
# A window's display ends while two threads use it (DisplayLossCheck.cpp has
# the modes): each run must end in order with status 1 within 10 s, its file
# saved, never hang, die of a signal or print a sanitizer report. Where either
# thread may meet the loss first, a mode runs several times.
# In a sanitizer build the mode whose message box is a forked copy of the
# program does not run: AddressSanitizer does not hold its allocator's locks
# across fork, so a copy made while another thread allocates can wait for ever
# for a lock that nobody will give back. The release build runs it.
# Usage: RealDisplayLoss.sh PROGRAM [--sanitized]
set -u
program=$1
sanitized=${2:-}
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

runs=(idle idle)
for i in $(seq 6); do
  runs+=(busy ifevent)
done
for i in $(seq 10); do
  runs+=(xcb)
  [ "$sanitized" = --sanitized ] || runs+=(xcb-box)
done

failures=0
number=0
for mode in "${runs[@]}"; do
  number=$((number + 1))
  out=$work/out.$number.txt
  err=$work/err.$number.txt
  saved=$work/saved.$number.txt
  start_x_server || exit 1
  HOME="$work" XDG_CACHE_HOME="$work/.cache" "$program" "$mode" "$saved" >"$out" 2>"$err" &
  checker=$!
  if ! wait_for_line "$out" ready; then
    echo "FAILED: $mode: the window never showed"
    kill -KILL "$checker" 2>/dev/null
  else
    end_x_server
    if ! timeout 10 tail --pid="$checker" -f /dev/null; then
      echo "FAILED: $mode: still running 10 s after the display ended"
      kill -KILL "$checker" 2>/dev/null
    fi
  fi
  wait "$checker" 2>/dev/null
  status=$?
  checker=
  expected="saved in order"
  [ "$mode" = idle ] && expected="saved in order; the cursor thread waits, holding no lock"
  if [ "$status" -ne 1 ] || [ "$(cat "$saved" 2>/dev/null)" != "$expected" ] || has_sanitizer_report "$err"; then
    echo "FAILED: $mode (run $number): status $status (1 expected); saved: $(cat "$saved" 2>/dev/null);" \
         "$(grep -v '^\[message box\]' "$err" | tail -n 5)"
    failures=$((failures + 1))
  fi
  end_x_server
done
[ $failures -eq 0 ] || exit 1
echo "every run ended in order"
