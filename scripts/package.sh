#!/usr/bin/env bash
# Builds the Debian package ptarmak_<version>_amd64.deb in build/ from the
# release build there (the one the tests use), and checks it with lintian:
# an error fails, warnings are shown.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${BUILD_TYPE:-RelWithDebInfo}" in
  Release|RelWithDebInfo|MinSizeRel) ;;
  *) echo "package.sh: a package is made from a release build, not BUILD_TYPE=$BUILD_TYPE" >&2
     exit 2 ;;
esac
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
rm -f ptarmak_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; exit 1; }
deb=$(ls ptarmak_*_amd64.deb)
echo "package: build/$deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb --field "$deb" Version Installed-Size Depends Recommends
lintian --fail-on error "$deb"
