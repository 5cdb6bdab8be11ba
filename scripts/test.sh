#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: once on
# SQLite data folders, and the database tests again on a PostgreSQL server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# The Windows-only code, compiled (syntax only) before the long build.
bash scripts/check-windows.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j "$(nproc)" -LE postgres
# The database tests again, against a throwaway PostgreSQL server.
bash ../scripts/with-postgres.sh ctest --output-on-failure -j "$(nproc)" -L postgres
# The Debian package of this build, installed, run and removed.
bash ../scripts/package.sh
bash ../scripts/check-package.sh
# The sanitizer lane: the core library and the tests without windows (with
# the fuzz tests of every reader of outside files), built again in build-asan/
# with AddressSanitizer and UndefinedBehaviorSanitizer.
cd ..
bash scripts/sanitize.sh
