# Shell helpers for the tests that need a real X server. Sourced.
#
# start_x_server [LOG]: starts Xvfb on a display it picks itself (so tests can
# run side by side), waits until it accepts clients, and sets DISPLAY and
# x_server_pid; with LOG, every top-level window mapped from then on is noted
# there (see wait_for_window). end_x_server: ends it as a logout does; every
# client's connection breaks. Both return non-zero with a note when they fail.

start_x_server()
{
  x_server_pid=
  coproc XVFB { exec Xvfb -displayfd 1 -noreset -nolisten tcp -screen 0 1280x1024x24 2>/dev/null; }
  x_server_pid=$XVFB_PID
  local number=
  # The server writes its display number once it accepts clients.
  if ! read -r -t 60 number <&"${XVFB[0]}" || [ -z "$number" ]; then
    echo "the X server did not start"
    end_x_server
    return 1
  fi
  export DISPLAY=":$number"
  if [ -n "${1:-}" ]; then
    xev -root -event substructure >"$1" 2>/dev/null &
  fi
}

end_x_server()
{
  [ -n "${x_server_pid:-}" ] || return 0
  kill -TERM "$x_server_pid" 2>/dev/null
  wait "$x_server_pid" 2>/dev/null
  x_server_pid=
  return 0
}

# follow FILE MATCHER [ARGS...]: gives each line of FILE, which a program is
# writing (or is about to create), to the shell function MATCHER (with ARGS
# after it) until it returns 0; fails when a minute passes with no new line.
follow()
{
  local file=$1 matcher=$2 line fd tail_pid status=1
  shift 2
  exec {fd}< <(exec tail -n +1 -F "$file" 2>/dev/null)
  tail_pid=$!
  while IFS= read -r -t 60 line <&"$fd"; do
    if "$matcher" "$line" "$@"; then
      status=0
      break
    fi
  done
  kill "$tail_pid" 2>/dev/null
  exec {fd}<&-
  return $status
}

# wait_for_line FILE TEXT [COUNT]: waits until FILE holds COUNT lines (default
# 1) that contain TEXT.
wait_for_line()
{
  lines_seen=0
  follow "$1" count_line "$2" "${3:-1}"
}

count_line()
{
  [[ $1 == *"$2"* ]] && ((++lines_seen >= $3))
}

# wait_for_window LOG TITLE: waits until a top-level window with that title is
# mapped. LOG is start_x_server's. (shown_window finds the window when one acts
# on it.)
wait_for_window()
{
  window_mapped=0
  follow "$1" titled_window "$2"
}

# xev notes a map in two lines, the second naming the window.
titled_window()
{
  if [[ $1 == MapNotify* ]]; then
    window_mapped=1
    return 1
  fi
  ((window_mapped)) && [[ $1 =~ window\ (0x[0-9a-f]+) ]] || return 1
  window_mapped=0
  xwininfo -id "${BASH_REMATCH[1]}" 2>/dev/null | grep -qF "\"$2\""
}

# shown_window TITLE: prints the id (as xev notes it) of the window with that
# title that is mapped now; fails when there is none. A program may replace a
# window (a new screen mode): whoever acts on one finds it when acting.
shown_window()
{
  local pattern id
  pattern=$(printf '%s' "$1" | sed 's/[][\\.*^$()+?{}|]/\\&/g')
  id=$(xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | head -n 1)
  [ -n "$id" ] && printf '0x%x\n' "$id"
}

# notified_windows LOG EVENT: the ids of the windows that LOG (start_x_server's)
# saw an event of that kind for (MapNotify, DestroyNotify...), one a line.
notified_windows()
{
  awk -v event="$2 event," '
    $1 " " $2 == event { seen = 1; next }
    seen && match($0, /window 0x[0-9a-f]+/) { print substr($0, RSTART + 7, RLENGTH - 7); seen = 0 }
  ' "$1"
}

# has_sanitizer_report FILE: true when FILE (a program's error output) holds
# a report of AddressSanitizer or UndefinedBehaviorSanitizer, which a program
# that ends with _exit may print without its status showing it.
has_sanitizer_report()
{
  grep -q -e "ERROR: AddressSanitizer" -e "runtime error:" "$1" 2>/dev/null
}

# skip_without TOOL...: ends the test as skipped (status 77) when a tool is
# missing; scripts/test.sh installs them and fails when such a test skipped.
skip_without()
{
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool is not installed"
      exit 77
    fi
  done
}
