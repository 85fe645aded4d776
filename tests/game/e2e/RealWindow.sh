#!/usr/bin/env bash
# The game in a real window, under an X server of its own that ends under it as
# at a logout:
#   1. in the middle of a recorded run: the game ends with status 1 within 10 s,
#      its records, settings and demo saved, and the demo replays headless;
#      until then one top-level window was mapped, the game's, and it was
#      never destroyed;
#   2. the window destroyed from outside: status 1 within 10 s, saying so, the
#      settings and the demo written, and the demo replays;
#   3. while the loader's error box is open (an image is missing): within 10 s
#      no process of the game is left, and the settings are written;
#   4. the same after a SIGTERM that came while the box was open;
#   5. a SIGTERM alone while the loader's error box is open: within 10 s no
#      process of the game is left, the run has ended in order with status 1,
#      its settings and demo written, and the demo replays the same way twice;
#   6. a SIGTERM alone while the box about a save file the game cannot read is
#      open: the same, with status 0, and the save file left byte for byte
#      where it was;
#   7. the window destroyed from outside while the loader's error box is open:
#      status 1 within 10 s, no process of the game left;
#   8. a SIGTERM alone while the loader's error box is shown in the program
#      itself (NO_FORK, preloaded, makes every fork fail, as at the process
#      limit): as in 5.
# A case that acts on the game's window finds the window when it acts.
# No run, and no replay, may print a sanitizer report.
# In a sanitizer build the cases whose box is a forked copy of the program
# (3 to 7) do not run: AddressSanitizer does not hold its allocator's locks
# across fork, so a copy made while another thread allocates can wait for ever
# for a lock that nobody will give back. The release build runs them.
# Each run works on a copy of the build's program folder, inside a folder of
# its own that is removed at the end.
# Usage: RealWindow.sh BIN NO_FORK [--sanitized]
#   (BIN: the folder of the program and its assets)
set -u
bin=$(cd "$1" && pwd)
no_fork=$2
sanitized=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../XServer.sh"
skip_without Xvfb xdotool xev xwininfo

work=$(mktemp -d "${TMPDIR:-/tmp}/lumo-real-window.XXXXXX")
clicker=
cleanup()
{
  [ -n "$clicker" ] && kill "$clicker" 2>/dev/null
  pkill -KILL -f -- "$work/" 2>/dev/null
  end_x_server
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail()
{
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# A copy of the program folder; with "broken", one image the loader needs is missing.
make_run_folder()
{
  local folder=$1
  mkdir -p "$folder"
  cp -a "$bin/tumbrix" "$bin/images" "$bin/sound" "$bin/demo_board" "$folder/"
  cp -a "$bin"/lib*.so "$folder/"
  if [ "${2:-}" = broken ]; then
    rm "$folder/images/beach_day_tile.png"
  fi
}

# start_game RUN CASE ARGS...: starts the program of RUN in a window, its data,
# settings and home in CASE, its error output in CASE/err.txt; sets game_pid.
# The command in the array as_user, when set, runs it (as another user); the
# array game_env holds more of its environment (NAME=VALUE). In a
# sanitizer build the windowed game is not checked for leaks: the GL driver and
# D-Bus keep what they allocate until the process ends; every other report
# counts.
as_user=()
game_env=()
start_game()
{
  local run=$1 case_dir=$2
  shift 2
  mkdir -p "$case_dir/data" "$case_dir/config" "$case_dir/home"
  (cd "$run" && exec "${as_user[@]}" env -u LUMO_HEADLESS -u LUMO_MAX_UPDATES -u LUMO_CAPTURE_DIR -u LUMO_CAPTURE_FRAMES \
     -u LUMO_AUDIO_CAPTURE -u LUMO_LOADING_DELAY_MS -u XDG_DATA_HOME -u XDG_CONFIG_HOME \
     ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0" \
     HOME="$case_dir/home" XDG_CACHE_HOME="$case_dir/home/.cache" LUMO_DEBUG_OUTPUT=1 LUMO_AUDIO=off \
     LUMO_DATA_DIR="$case_dir/data" LUMO_CONFIG_DIR="$case_dir/config" "${game_env[@]}" "$run/tumbrix" "$@") \
    >"$case_dir/out.txt" 2>"$case_dir/err.txt" &
  game_pid=$!
}

# The processes of the program of RUN: the game and any copy of it (a message
# box is shown by a forked copy).
game_processes()
{
  pgrep -f -- "^$1/tumbrix" | tr '\n' ' '
}

# wait_for_the_end RUN CASE AFTER PIDS...: waits at most 10 s for the game's
# processes PIDS to end (AFTER says after what), ends what is left; sets
# status to the game's exit status.
wait_for_the_end()
{
  local run=$1 case_dir=$2 after=$3 pid watch=()
  shift 3
  for pid in "$@"; do
    watch+=("--pid=$pid")
  done
  # With none left to watch (the run ended already), tail would wait for ever.
  if [ ${#watch[@]} -gt 0 ] && ! timeout 10 tail "${watch[@]}" -f /dev/null; then
    fail "$(basename "$case_dir"): processes of the game still run 10 s after $after:" \
         "$(game_processes "$run")"
    pkill -KILL -f -- "^$run/tumbrix"
  fi
  wait "$game_pid" 2>/dev/null
  status=$?
  [ -z "$(game_processes "$run")" ] || fail "$(basename "$case_dir"): a process of the game is left"
}

# end_server_and_wait RUN CASE: ends the X server, then waits at most 10 s for
# every process of the game to end; sets status to the game's exit status.
end_server_and_wait()
{
  local pids
  pids=$(game_processes "$1")
  end_x_server
  wait_for_the_end "$1" "$2" "the display ended" $pids
}

settings_file()
{
  echo "$1/config/SOFTWARE/Varnet/LumoAppFramework/Demo2/settings.ini"
}

# The settings were written at the end of the run, not only at its start.
check_settings_written()
{
  grep -qx 'InProgress=d:0' "$(settings_file "$1")" 2>/dev/null ||
    fail "$(basename "$1"): the settings were not written at the end"
}

game_title="LumoAppFramework: Tumbrix - 1.0.0"

# start_recording_in_a_window CASE: a server of its own, the game on it
# recording CASE/run.dmo; returns once the game's window is mapped.
start_recording_in_a_window()
{
  mkdir -p "$1"
  start_x_server "$1/windows.txt" || exit 1
  start_game "$run" "$1" -record -demofile="$1/run.dmo"
  wait_for_window "$1/windows.txt" "$game_title" && return 0
  fail "$(basename "$1"): no game window"
  return 1
}

# game_window CASE: sets window to the game's window as it is now.
game_window()
{
  window=$(shown_window "$game_title") && return 0
  fail "$(basename "$1"): the game's window is not shown"
  return 1
}

# check_one_window CASE: since the game started, one top-level window has been
# mapped, the game's window, and it has not been destroyed: it was shown once,
# already fit for its renderer.
check_one_window()
{
  local mapped name
  name=$(basename "$1")
  mapped=$(notified_windows "$1/windows.txt" MapNotify)
  if [ "$(grep -c . <<<"$mapped")" -ne 1 ]; then
    fail "$name: one top-level window mapped expected, seen:" $mapped
  elif [ "$mapped" != "$(shown_window "$game_title")" ]; then
    fail "$name: the window mapped, $mapped, is not the game's window"
  elif notified_windows "$1/windows.txt" DestroyNotify | grep -qx "$mapped"; then
    fail "$name: the game's window was destroyed while the game ran"
  fi
}

# check_demo_replays CASE: the demo CASE/run.dmo was written and plays back
# headless to its end.
check_demo_replays()
{
  local case_dir=$1 replayed
  if [ ! -s "$case_dir/run.dmo" ]; then
    fail "$(basename "$case_dir"): the demo was not written"
    return
  fi
  (cd "$run" && env LUMO_HEADLESS=1 LUMO_AUDIO=off LUMO_DATA_DIR="$case_dir/replay" \
     LUMO_CONFIG_DIR="$case_dir/replay" "$run/tumbrix" -play -demofile="$case_dir/run.dmo") \
    >/dev/null 2>"$case_dir/replay.txt"
  replayed=$?
  [ "$replayed" -eq 0 ] ||
    fail "$(basename "$case_dir"): the demo replays with status $replayed: $(tail -n 3 "$case_dir/replay.txt")"
  check_no_sanitizer_report "$case_dir" replay.txt
}

# check_no_sanitizer_report CASE FILE: the error output CASE/FILE holds no
# sanitizer report.
check_no_sanitizer_report()
{
  ! has_sanitizer_report "$1/$2" || fail "$(basename "$1"): a sanitizer report in $2: $(grep -m 3 -e ERROR: -e 'runtime error:' "$1/$2")"
}

# check_demo_replays_alike CASE RUN STATUS: the demo CASE/run.dmo was written,
# and played back headless from RUN twice it ends both times with STATUS after
# the same number of updates.
check_demo_replays_alike()
{
  local case_dir=$1 run=$2 expected=$3 replay status ends=()
  if [ ! -s "$case_dir/run.dmo" ]; then
    fail "$(basename "$case_dir"): the demo was not written"
    return
  fi
  for replay in 1 2; do
    (cd "$run" && env LUMO_HEADLESS=1 LUMO_AUDIO=off LUMO_DEBUG_OUTPUT=1 LUMO_DATA_DIR="$case_dir/replay" \
       LUMO_CONFIG_DIR="$case_dir/replay" "$run/tumbrix" -play -demofile="$case_dir/run.dmo") \
      >/dev/null 2>"$case_dir/replay.txt"
    status=$?
    [ "$status" -eq "$expected" ] ||
      fail "$(basename "$case_dir"): the demo replays with status $status, expected $expected"
    ends+=("$(grep -o 'Updates: [0-9]*' "$case_dir/replay.txt")")
    check_no_sanitizer_report "$case_dir" replay.txt
  done
  [ -n "${ends[0]}" ] && [ "${ends[0]}" = "${ends[1]}" ] ||
    fail "$(basename "$case_dir"): two replays ended apart: '${ends[0]}', '${ends[1]}'"
}

# sigterm_with_box_open RUN CASE TITLE: kills the game (one SIGTERM) once a
# box titled TITLE is open, then waits at most 10 s for every process of the
# game to end, with the X server still there; sets status.
sigterm_with_box_open()
{
  local pids
  status=
  if ! wait_for_window "$2/windows.txt" "$3"; then
    fail "$(basename "$2"): the box \"$3\" did not open"
    return 1
  fi
  pids=$(game_processes "$1")
  kill -TERM "$game_pid"
  wait_for_the_end "$1" "$2" "one SIGTERM" $pids
}

# loaders_box_sigterm CASE PROCESSES: one SIGTERM while the loader's error box
# is open, the X server left as it is, PROCESSES of the game running then (2
# when the box is a forked copy, 1 when it is shown in the program itself): the
# run ends with status 1, its settings and demo written, and the demo replays
# the same way twice.
loaders_box_sigterm()
{
  local name=$1 processes=$2 case_dir=$work/$1
  mkdir -p "$case_dir"
  start_x_server "$case_dir/windows.txt" || exit 1
  start_game "$broken" "$case_dir" -record -demofile="$case_dir/run.dmo"
  if wait_for_window "$case_dir/windows.txt" "FATAL ERROR" &&
     [ "$(game_processes "$broken" | wc -w)" -ne "$processes" ]; then
    fail "$name: $processes processes of the game expected with the box open: $(game_processes "$broken")"
  fi
  if sigterm_with_box_open "$broken" "$case_dir" "FATAL ERROR"; then
    [ "$status" -eq 1 ] || fail "$name: exit status $status, expected 1 (the loading failed)"
    check_settings_written "$case_dir"
    check_demo_replays_alike "$case_dir" "$broken" 1
  fi
  show_output "$case_dir"
  end_x_server
}

show_output()
{
  check_no_sanitizer_report "$1" err.txt
  echo "--- $(basename "$1") error output:"
  grep -v -e takeMenuAction -e "in a transition" "$1/err.txt" | tail -n 20
}

run=$work/run
make_run_folder "$run"
broken=$work/broken
make_run_folder "$broken" broken

# 1. A recorded run: the pointer rests where the main menu has Options and
# clicks until the menu takes it; the same place in the options is the sound
# slider, which each further click sets to the same value (150 of 300).
case_dir=$work/recorded
if start_recording_in_a_window "$case_dir" && game_window "$case_dir"; then
  xdotool mousemove --window "$window" 512 499 click --repeat 1200 --delay 100 1 2>/dev/null &
  clicker=$!
  wait_for_line "$case_dir/err.txt" takeMenuAction 2 || fail "recorded: the menus took no clicks"
  check_one_window "$case_dir"
  end_server_and_wait "$run" "$case_dir"
  kill "$clicker" 2>/dev/null
  wait "$clicker" 2>/dev/null
  clicker=
  [ "$status" -eq 1 ] || fail "recorded: exit status $status, expected 1"
  records=$case_dir/data/Tumbrix/tumbrix.dat
  if [ "$(stat -c %s "$records" 2>/dev/null)" != 42 ]; then
    fail "recorded: the records were not saved"
  elif [ "$(od -An -tu4 -j6 -N4 "$records" | tr -d ' ')" != 150 ]; then
    fail "recorded: the saved records do not hold the sound volume set"
  fi
  check_settings_written "$case_dir"
  check_demo_replays "$case_dir"
fi
show_output "$case_dir"
end_x_server

# 2. The window destroyed from outside (as a window manager's "kill" does).
case_dir=$work/closed
if start_recording_in_a_window "$case_dir" && game_window "$case_dir"; then
  xdotool windowclose "$window"
  if ! timeout 10 tail --pid="$game_pid" -f /dev/null; then
    fail "closed: the game still runs 10 s after its window was destroyed"
    kill -KILL "$game_pid"
  fi
  wait "$game_pid" 2>/dev/null
  status=$?
  [ "$status" -eq 1 ] || fail "closed: exit status $status, expected 1"
  grep -q "the window or the display went away" "$case_dir/err.txt" || fail "closed: the note does not say why"
  check_settings_written "$case_dir"
  check_demo_replays "$case_dir"
fi
show_output "$case_dir"
end_x_server

# 3. to 7.: the box is a forked copy of the program.
forked_box_cases()
{
  local name pids
  # 3. and 4. The loader's error box is open when the display ends; in 4. the
  # program was asked to end (SIGTERM) while the box was open.
  for name in box box_after_sigterm; do
    case_dir=$work/$name
    mkdir -p "$case_dir"
    start_x_server "$case_dir/windows.txt" || exit 1
    start_game "$broken" "$case_dir"
    if ! wait_for_window "$case_dir/windows.txt" "FATAL ERROR"; then
      fail "$name: the loader's error box did not open"
    else
      if [ "$name" = box_after_sigterm ]; then
        kill -TERM "$game_pid"
        wait_for_line "$case_dir/err.txt" "Stop signal received" || fail "$name: the SIGTERM was not taken"
      fi
      end_server_and_wait "$broken" "$case_dir"
      [ "$status" -eq 1 ] || fail "$name: exit status $status, expected 1"
      check_settings_written "$case_dir"
    fi
    show_output "$case_dir"
    end_x_server
  done

  # 5. One SIGTERM while the loader's error box is open.
  loaders_box_sigterm box_sigterm 2

  # 6. One SIGTERM while the box about a save file that the game's user cannot
  # read is open. As root the game runs as nobody, the file being root's.
  case_dir=$work/save_box_sigterm
  mkdir -p "$case_dir/data/Tumbrix"
  records=$case_dir/data/Tumbrix/tumbrix.dat
  head -c 42 /dev/urandom >"$records"
  cp "$records" "$case_dir/records.before"
  mode=600
  if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$work" "$case_dir"
    mkdir -p "$case_dir/config" "$case_dir/home"
    chown nobody "$case_dir/data" "$case_dir/data/Tumbrix" "$case_dir/config" "$case_dir/home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  else
    mode=0
  fi
  chmod "$mode" "$records"
  start_x_server "$case_dir/windows.txt" || exit 1
  start_game "$run" "$case_dir" -record -demofile="$case_dir/home/run.dmo"
  as_user=()
  if sigterm_with_box_open "$run" "$case_dir" "FATAL ERROR"; then
    [ "$status" -eq 0 ] || fail "save_box_sigterm: exit status $status, expected 0"
    grep -q "Could not read contents of" "$case_dir/err.txt" || fail "save_box_sigterm: the box was another one"
    check_settings_written "$case_dir"
    [ "$(stat -c %u.%a "$records")" = "$(id -u).$mode" ] || fail "save_box_sigterm: the save's owner or mode changed"
    chmod 600 "$records"
    cmp -s "$records" "$case_dir/records.before" || fail "save_box_sigterm: the unreadable save was changed"
    [ -z "$(ls "$case_dir/data/Tumbrix" | grep -v '^tumbrix\.dat$')" ] ||
      fail "save_box_sigterm: files beside the save: $(ls "$case_dir/data/Tumbrix" | tr '\n' ' ')"
    mv "$case_dir/home/run.dmo" "$case_dir/run.dmo" 2>/dev/null
    check_demo_replays_alike "$case_dir" "$run" 0
  fi
  show_output "$case_dir"
  end_x_server

  # 7. The window destroyed from outside while the loader's error box is open.
  case_dir=$work/box_closed
  mkdir -p "$case_dir"
  start_x_server "$case_dir/windows.txt" || exit 1
  start_game "$broken" "$case_dir"
  if ! wait_for_window "$case_dir/windows.txt" "FATAL ERROR"; then
    fail "box_closed: the loader's error box did not open"
  elif game_window "$case_dir"; then
    pids=$(game_processes "$broken")
    xdotool windowclose "$window"
    wait_for_the_end "$broken" "$case_dir" "its window was destroyed" $pids
    [ "$status" -eq 1 ] || fail "box_closed: exit status $status, expected 1"
    check_settings_written "$case_dir"
  fi
  show_output "$case_dir"
  end_x_server
}
[ "$sanitized" = --sanitized ] || forked_box_cases

# 8. One SIGTERM while the loader's error box is shown in the program itself.
game_env=(LD_PRELOAD="$no_fork")
loaders_box_sigterm box_in_program_sigterm 1
game_env=()

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "the lost display ended every run in order"
