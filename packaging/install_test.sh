#!/usr/bin/env bash
# Installs a korvo package on this machine, runs it from PATH, and removes
# and purges it again, also when a check fails:
#   install_test.sh PACKAGE.deb
# Needs root (or sudo). When korvo is installed already, that installation
# is left alone and the test is skipped.
set -euo pipefail

deb=$(realpath "$1")
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
apt=($SUDO apt-get -y -q -o DPkg::Lock::Timeout=300)

if dpkg-query -W -f='${Status}' korvo 2>/dev/null | grep -q "ok installed"; then
  echo "install test skipped: a korvo package is installed already and is left as it is"
  exit 0
fi

work=$(mktemp -d)
chmod 755 "$work"
installed=0
cleanup() {
  if [ "$installed" -eq 1 ]; then $SUDO dpkg --purge korvo >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

echo "--- apt-get install $(basename "$deb")"
export DEBIAN_FRONTEND=noninteractive
installed=1
"${apt[@]}" install --no-install-recommends "$deb" >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  echo "FAIL: the package does not install" >&2
  exit 1
}
dpkg-query -L korvo | sort >"$work/files"

home="$work/home"
mkdir -p "$home"
run() { (cd "$work" && env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" LANG=C.UTF-8 "$@"); }

echo "--- korvo-cli from PATH"
[ "$(run sh -c 'command -v korvo-cli')" = /usr/bin/korvo-cli ] || fail "korvo-cli is not /usr/bin/korvo-cli on PATH"
if ! run korvo-cli fill --size 9 --time-limit 30 >"$work/fill.txt" 2>&1; then
  cat "$work/fill.txt"
  fail "korvo-cli fill --size 9 --time-limit 30"
fi
if ! run korvo-cli fill --size 9 --time-limit 30 --save "$work/puzzle.kvz" >"$work/fill.txt" 2>&1; then
  cat "$work/fill.txt"
  fail "korvo-cli fill through the document"
fi
[ -d "$home/Documents/TolvaneCWBuilder" ] || fail "no data folder in the temporary HOME"
[ -s "$work/puzzle.kvz" ] || fail "no puzzle saved"

echo "--- the file type"
if [ -s "$work/puzzle.kvz" ]; then
  type=$(run xdg-mime query filetype "$work/puzzle.kvz")
  [ "$type" = application/x-korvo-puzzle ] || fail "xdg-mime gives '$type' for a puzzle file"
fi
: >"$work/empty.kvz"
type=$(run xdg-mime query filetype "$work/empty.kvz")
[ "$type" = application/x-korvo-puzzle ] || fail "xdg-mime gives '$type' for a file named *.kvz"
default=$(run xdg-mime query default application/x-korvo-puzzle)
[ "$default" = korvo.desktop ] || fail "puzzle files do not open with korvo.desktop but '$default'"

echo "--- the window from /usr/bin/korvo"
help=$(run korvo --help)
grep -qx "help page: */usr/share/korvo/help/index.html" <<<"$help" || fail "korvo does not find its help page: $help"
[ -f /usr/share/korvo/help/index.html ] || fail "no help page installed"
if ! run env QT_QPA_PLATFORM=offscreen KORVO_QUIT_AFTER_MS=2000 timeout 120 /usr/bin/korvo \
  "$work/puzzle.kvz" >"$work/window.txt" 2>&1; then
  cat "$work/window.txt"
  fail "the window does not start offscreen and close"
fi

echo "--- apt-get remove, dpkg --purge"
"${apt[@]}" remove korvo >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get remove"; }
# A package installed from a file is unknown to apt once removed: dpkg purges
# what may be left of it.
$SUDO dpkg --purge korvo >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "dpkg --purge"; }
installed=0
if dpkg-query -W -f='${Status}' korvo 2>/dev/null | grep -qv "not-installed"; then
  fail "dpkg still knows korvo: $(dpkg-query -W -f='${Status}' korvo)"
fi
while read -r path; do
  # Folders shared with other packages (/usr/share/icons/hicolor/...) stay.
  if [ -e "$path" ] && ! [ -d "$path" ]; then fail "left behind: $path"; fi
done <"$work/files"
[ ! -e /usr/share/korvo ] || fail "left behind: /usr/share/korvo"
[ ! -e /usr/share/doc/korvo ] || fail "left behind: /usr/share/doc/korvo"
type=$(run xdg-mime query filetype "$work/empty.kvz")
[ "$type" != application/x-korvo-puzzle ] || fail "the file type is still registered after removal"

if [ "$failures" -ne 0 ]; then
  echo "$failures install check(s) failed" >&2
  exit 1
fi
echo "install test passed: installed, ran from PATH, removed and purged"
