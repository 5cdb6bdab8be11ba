#!/usr/bin/env bash
# Installs build/ptarmak_<version>_amd64.deb with apt as a user would, runs the
# installed program's commands without a display against a data folder filled
# here, removes the package again and checks that the user's settings and
# data are still there and whole.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/ptarmak_*_amd64.deb)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if dpkg -s ptarmak >/dev/null 2>&1 && [ -z "${CI:-}" ]; then
  echo "check-package.sh: pTarmak is installed on this machine and the check would remove it: skipped"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ptarmak-package.XXXXXX")
cleanup() {
  if dpkg -s ptarmak >/dev/null 2>&1; then
    $sudo apt-get remove --purge -y -q ptarmak >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check-package.sh: $*" >&2; exit 1; }

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -q "./$deb" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "the package did not install"; }
[ -x /usr/bin/pTarmak ] || fail "/usr/bin/pTarmak is not installed"

# The user's own folders, where the program keeps them by default.
export HOME="$work/home"
unset XDG_CONFIG_HOME KANMURI_CONFIG_DIR DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
config="$HOME/.config/kanmuri"
mkdir -p "$HOME"

/usr/bin/pTarmak --help >"$work/help.txt" || fail "pTarmak --help failed"
for command in sheet acceptance export-csv import-paradox copy-data; do
  grep -q "pTarmak $command" "$work/help.txt" || fail "pTarmak --help does not list $command"
done
version=$(dpkg-query -W -f='${Version}' ptarmak)
[ "$(/usr/bin/pTarmak --version)" = "pTarmak $version" ] ||
  fail "the program says \"$(/usr/bin/pTarmak --version)\", the package is $version"

# Three projects of a day each; P00 has work type 表層工 and mixture 密粒度0.
build/bench/save_worker save "$config" 3 >/dev/null
(cd "$work" && /usr/bin/pTarmak sheet --project P00 --work-type 表層工 --mixture 密粒度0 \
   --pdf 実績表.pdf --xlsx 実績表.xlsx) || fail "pTarmak sheet failed"
[ "$(head -c 2 "$work/実績表.xlsx")" = "PK" ] || fail "the workbook was not written"
pdftotext "$work/実績表.pdf" - | grep -q "アスファルト合材舗設実績表" ||
  fail "the sheet has no title"
pdffonts "$work/実績表.pdf" | grep -q "IPA" || fail "the sheet's Japanese font is not embedded"

$sudo apt-get remove --purge -y -q ptarmak >"$work/remove.log" 2>&1 ||
  { cat "$work/remove.log" >&2; fail "the package did not remove"; }
[ ! -e /usr/bin/pTarmak ] || fail "/usr/bin/pTarmak is still there"
for file in "$config/engine.ini" "$config/data/kanmuri.sqlite"; do
  [ -f "$file" ] || fail "$file went with the package"
done
build/bench/save_worker check "$config" | grep -q "^headers 3 days 3 .* integrity ok$" ||
  fail "the data folder does not hold its three days, whole, after the removal"
echo "check-package.sh: installed, --help, --version, sheet --pdf --xlsx, removed; data folder kept"
