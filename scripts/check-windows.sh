#!/usr/bin/env bash
# Compiles every source file of src/ for Windows, syntax only: Debian's
# MinGW-w64 cross compiler against Qt's headers from this machine, so that
# _WIN32, and with it Q_OS_WIN, is in effect and every Windows-only branch is
# compiled; pTarmak.exe's resource script goes through windres. Nothing is
# linked or run (docs/WINDOWS.md). Any error fails. Given files, only those.
set -euo pipefail
cd "$(dirname "$0")/.."
cxx=x86_64-w64-mingw32-g++-posix
command -v "$cxx" >/dev/null ||
  { echo "check-windows.sh: $cxx is missing (apt-get install g++-mingw-w64-x86-64-posix)" >&2; exit 1; }
qt=$(pkg-config --variable=includedir Qt6Core)
version=$(sed -n 's/^project(pTarmak VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

flags=(-std=c++20 -fsyntax-only -Wall -Wextra
       # What Qt's CMake files give a Windows target.
       -DUNICODE -D_UNICODE -DWIN32 -DMINGW_HAS_SECURE_API=1
       -DQT_CORE_LIB -DQT_GUI_LIB -DQT_SQL_LIB -DQT_WIDGETS_LIB -DQT_PRINTSUPPORT_LIB
       "-DKANMURI_VERSION=\"$version\"" -Isrc -isystem "$qt")
for module in QtCore QtGui QtSql QtWidgets QtPrintSupport; do
  flags+=(-isystem "$qt/$module")
done

export cxx
export flags_text="${flags[*]@Q}"
compile() {
  eval "local flags=($flags_text)"
  "$cxx" "${flags[@]}" "$1" 2>&1 || { echo "check-windows.sh: $1 does not compile for Windows"; return 1; }
}
export -f compile
if [ $# -gt 0 ]; then
  sources=("$@")
else
  mapfile -t sources < <(find src -name '*.cpp' | sort)
fi
status=0
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} bash -c 'compile "$1"' _ {} || status=1

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sed -e "s|@KANMURI_ICON@|$PWD/packaging/windows/pTarmak.ico|" \
    -e "s/@KANMURI_VERSION_COMMAS@/${version//./,}/" -e "s/@PROJECT_VERSION@/$version/" \
    packaging/windows/pTarmak.rc.in >"$tmp/pTarmak.rc"
x86_64-w64-mingw32-windres "$tmp/pTarmak.rc" -O coff -o "$tmp/pTarmak.res" ||
  { echo "check-windows.sh: pTarmak.rc does not compile"; status=1; }

if [ $status -eq 0 ]; then
  echo "check-windows.sh: ${#sources[@]} source files and the resource script compile for Windows"
fi
exit $status
