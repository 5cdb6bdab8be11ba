#!/usr/bin/env bash
# Remakes the pictures of the help pages (src/help/pages/*.png) from the
# program's own windows, shown offscreen with sample data. Run it after a
# window has changed and commit the pictures with the pages.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja
cmake --build build --target help_screenshots
QT_QPA_PLATFORM=offscreen build/tools/help_screenshots src/help/pages
