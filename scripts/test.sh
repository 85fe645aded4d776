#!/usr/bin/env bash
# Builds and runs every test: a Release build with gcc (fuzz targets replay
# their seed corpora) and an ASan+UBSan build with clang (fuzz targets are real
# libFuzzer binaries and replay their corpora under the sanitizers). The tests
# run with an empty home folder, which must still be empty afterwards (the
# fonts' own cache aside). The tests that need a real X server (Xvfb) must
# have run and passed, not skipped. Run as root, it also runs the tests that
# need a normal user as one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh

jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DLUMO_SANITIZE=ON -DLUMO_FUZZ=ON -DLUMO_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LUMO_HEADLESS=1
status=0
home=$(mktemp -d "${TMPDIR:-/tmp}/lumo-test-home.XXXXXX")
results=$(mktemp "${TMPDIR:-/tmp}/lumo-test-results.XXXXXX")
trap 'rm -rf "$home" "$results"' EXIT
in_empty_home() { env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$home" "$@"; }
in_empty_home ctest --test-dir build/release -j "$jobs" --output-on-failure --timeout 300 \
  --output-junit "$results" || status=1
for test in tumbrix_real_window platform_display_loss_real_x; do
  if ! grep -q "<testcase name=\"$test\" [^>]*status=\"run\"" "$results"; then
    echo "test.sh: $test did not run and pass; it needs Xvfb, xdotool and x11-utils"
    status=1
  fi
done
in_empty_home ctest --test-dir build/asan -j "$jobs" --output-on-failure --timeout 600 || status=1
left=$(find "$home" -mindepth 1 -not -path "$home/.cache" -not -path "$home/.cache/fontconfig" \
         -not -path "$home/.cache/fontconfig/*")
if [ -n "$left" ]; then
  echo "test.sh: the tests left files in the home folder:"
  echo "$left" | head -n 40
  status=1
fi
# As root, the permission tests skip: run them again as an unprivileged user,
# and show that a permission test that did not run would be noticed.
bash scripts/test-unprivileged.sh build/release || status=1
bash scripts/test-unprivileged.sh --self-check build/release || status=1
exit $status
