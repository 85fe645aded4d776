#!/usr/bin/env bash
# Run as root, the checks that need a normal user (a read-only folder, a file
# without read permission) cannot fail, so those tests skip. This runs the test
# programs that hold them again as an unprivileged user, twice, so the second
# run also shows that the first cleaned up after itself. It works on a copy of
# the Release programs in a folder that user owns; the checkout is not touched.
# Usage: scripts/test-unprivileged.sh [build folder]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
user=nobody

if [ "$(id -u)" -ne 0 ]; then
  echo "test-unprivileged: not root, so the suite itself ran as a normal user; nothing to do"
  exit 0
fi

work=$(mktemp -d /tmp/lumo-unprivileged.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -a "$build/bin" "$work/bin"
mkdir -p "$work/tmp" "$work/home"
chown -R "$user" "$work"
chmod 755 "$work"

status=0
for pass in 1 2; do
  for program in platform_tests core_tests appbase_tests game_tests; do
    log="$work/$program.$pass.log"
    if ! (cd "$work/bin" && runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$work/home" \
            TMPDIR="$work/tmp" LUMO_HEADLESS=1 LUMO_DATA_DIR="$work/data" LUMO_CONFIG_DIR="$work/config" \
            LD_LIBRARY_PATH="$work/bin" "./$program") >"$log" 2>&1; then
      echo "test-unprivileged: $program failed as $user (run $pass):"
      grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -n 40 || tail -n 40 "$log"
      status=1
    fi
    if grep -q 'for this user (root)' "$log"; then
      echo "test-unprivileged: $program skipped a permission test as $user (run $pass)"
      status=1
    fi
    echo "test-unprivileged: $program as $user, run $pass: $(grep -E '^\[  PASSED  \]' "$log" || echo 'no pass line')"
  done
done
exit $status
