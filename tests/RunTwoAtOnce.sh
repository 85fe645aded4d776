#!/usr/bin/env bash
# Starts two copies of each given test program at once, all from one folder,
# with a fresh HOME and temporary folder, and fails when any copy fails or
# when anything is left in that HOME or temporary folder afterwards.
# Usage: RunTwoAtOnce.sh PROGRAM...
set -u
scratch=$(mktemp -d "${TMPDIR:-/tmp}/lumo-two-at-once.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/home" "$scratch/tmp"

pids=()
logs=()
for program in "$@"; do
  for copy in 1 2; do
    log="$scratch/$(basename "$program").$copy.log"
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u LUMO_DATA_DIR -u LUMO_CONFIG_DIR \
        HOME="$scratch/home" TMPDIR="$scratch/tmp" "$program" --gtest_brief=1 >"$log" 2>&1 &
    pids+=($!)
    logs+=("$log")
  done
done

status=0
for i in "${!pids[@]}"; do
  if ! wait "${pids[$i]}"; then
    echo "failed: $(basename "${logs[$i]}" .log)"
    tail -n 40 "${logs[$i]}"
    status=1
  fi
done
for folder in home tmp; do
  left=$(find "$scratch/$folder" -mindepth 1)
  if [ -n "$left" ]; then
    echo "left in $folder:"
    echo "$left" | head -n 20
    status=1
  fi
done
[ $status -eq 0 ] && echo "${#pids[@]} copies passed, nothing left behind"
exit $status
