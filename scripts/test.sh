#!/usr/bin/env bash
# Builds and runs every test: a Release build with gcc (fuzz targets replay
# their seed corpora) and an ASan+UBSan build with clang (fuzz targets are real
# libFuzzer binaries and replay their corpora under the sanitizers). Run as
# root, it also runs the tests that need a normal user as one.
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
ctest --test-dir build/release -j "$jobs" --output-on-failure --timeout 300 || status=1
ctest --test-dir build/asan -j "$jobs" --output-on-failure --timeout 600 || status=1
# As root, the permission tests skip: run them again as an unprivileged user.
bash scripts/test-unprivileged.sh build/release || status=1
exit $status
