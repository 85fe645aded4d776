#!/usr/bin/env bash
# Run as root, the checks that need a normal user (a read-only folder, a file
# without read permission) cannot fail, so those tests skip. This runs the test
# programs that hold them again as an unprivileged user, twice, so the second
# run also shows that the first cleaned up after itself. Each test listed in
# tests/unprivileged-tests.txt must have run and passed by name: one that is
# missing, filtered out, disabled, skipped or failing fails the run. It works
# on a copy of the Release programs in a folder that user owns; the checkout
# is not touched.
# Usage: scripts/test-unprivileged.sh [--self-check] [build folder]   (default build/release)
# --self-check: shows instead that the run fails when a listed test is
# filtered out, and when the listed tests skip (run as root).
set -euo pipefail
cd "$(dirname "$0")/.."
self_check=0
if [ "${1:-}" = --self-check ]; then
  self_check=1
  shift
fi
build=${1:-build/release}
user=nobody

if [ "$(id -u)" -ne 0 ]; then
  echo "test-unprivileged: not root, so the suite itself ran as a normal user; nothing to do"
  exit 0
fi

listed=()
while read -r program name; do
  [ -n "$program" ] && [ "${program:0:1}" != "#" ] && listed+=("$program $name")
done <tests/unprivileged-tests.txt
programs=(platform_tests core_tests appbase_tests game_tests)
for entry in "${listed[@]}"; do
  [[ " ${programs[*]} " == *" ${entry%% *} "* ]] || programs+=("${entry%% *}")
done

work=$(mktemp -d /tmp/lumo-unprivileged.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -a "$build/bin" "$work/bin"
mkdir -p "$work/tmp" "$work/home"
chown -R "$user" "$work"
chmod 755 "$work"

# run_program USER PROGRAM LOG [GTEST ARGS...]: runs a test program of the
# copy as that user, with an empty environment but for the folders it may use.
run_program()
{
  local as=(runuser -u "$1" --)
  [ "$1" = root ] && as=()
  (cd "$work/bin" && "${as[@]}" env -i PATH=/usr/bin:/bin HOME="$work/home" TMPDIR="$work/tmp" \
     LD_LIBRARY_PATH="$work/bin" "./$2" "${@:4}") >"$3" 2>&1
}

# check_listed PROGRAM LOG: every listed test of the program ran and passed.
check_listed()
{
  local status=0 entry
  for entry in "${listed[@]}"; do
    [ "${entry%% *}" = "$1" ] || continue
    if ! grep -qF "[       OK ] ${entry#* } (" "$2"; then
      echo "test-unprivileged: $1: ${entry#* } did not run and pass"
      status=1
    fi
  done
  return $status
}

if [ $self_check -eq 1 ]; then
  first=${listed[0]}
  program=${first%% *}
  run_program "$user" "$program" "$work/filtered.log" "--gtest_filter=-${first#* }" || true
  if check_listed "$program" "$work/filtered.log" >/dev/null; then
    echo "test-unprivileged: self-check: ${first#* } filtered out went unnoticed"
    exit 1
  fi
  run_program root "$program" "$work/root.log" "--gtest_filter=${first#* }" || true
  if check_listed "$program" "$work/root.log" >/dev/null; then
    echo "test-unprivileged: self-check: ${first#* } skipped as root went unnoticed"
    exit 1
  fi
  echo "test-unprivileged: self-check: a listed test filtered out or skipped fails the run"
  exit 0
fi

status=0
for pass in 1 2; do
  for program in "${programs[@]}"; do
    log="$work/$program.$pass.log"
    if ! run_program "$user" "$program" "$log"; then
      echo "test-unprivileged: $program failed as $user (run $pass):"
      grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -n 40 || tail -n 40 "$log"
      status=1
    fi
    check_listed "$program" "$log" || status=1
    echo "test-unprivileged: $program as $user, run $pass: $(grep -E '^\[  PASSED  \]' "$log" || echo 'no pass line')"
  done
done
for folder in home tmp; do
  if [ -n "$(find "$work/$folder" -mindepth 1 -print -quit)" ]; then
    echo "test-unprivileged: the tests left files in their $folder folder:"
    find "$work/$folder" -mindepth 1 | head -n 20
    status=1
  fi
done
exit $status
