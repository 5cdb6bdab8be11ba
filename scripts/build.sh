#!/usr/bin/env bash
# Configures and builds pTarmak in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Debug}"
cmake --build build
