#!/usr/bin/env bash
# The sanitizer lane: the core library and the tests that need no windows
# (including the fuzz tests of every reader of outside files), built in
# build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer, and run.
# Any report of either ends the test program that caused it, and fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKANMURI_SANITIZE=ON \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER="$CMAKE_CXX_COMPILER_LAUNCHER"}
cmake --build build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan
ctest --output-on-failure -j "$(nproc)"
