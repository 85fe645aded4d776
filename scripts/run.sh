#!/usr/bin/env bash
# Builds the game (Release) and runs it from its build folder, where the build
# generated its images, font, sounds and music.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target tumbrix
cd build/release/bin
exec ./tumbrix
