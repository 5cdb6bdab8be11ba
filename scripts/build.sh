#!/usr/bin/env bash
# Configures and builds pTarmak in build/: optimised, with debug information,
# so that the tests and the package use one build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
cmake --build build
