#!/usr/bin/env bash
# Checks a built korvo package as a packager would, without installing it:
#   check_package.sh PACKAGE.deb BUILD_BIN_FOLDER
# lintian (no error, no warning),
# desktop-file-validate, appstreamcli validate, man --warnings on both pages,
# the file list against what the programs look for, and both programs run
# from the unpacked tree, where they must find their files in its share
# folder and nowhere else.
set -euo pipefail

deb=$(realpath "$1")
bin=$(realpath "$2")
version=$(dpkg-deb -f "$deb" Version)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

echo "--- lintian"
# Any warning fails too. Info tags (lintian -I) left, and why:
#   arch-dep-package-has-big-usr-share: the word lists and clue sources (about
#     60 MB) are the same on every architecture; one package keeps the
#     install simple.
#   package-contains-documentation-outside-usr-share-doc: the help page and the
#     data's copyright notices lie in /usr/share/korvo, where the programs
#     look for them (Online Help, About).
#   hardening-no-bindnow, hardening-no-fortify-functions,
#     binary-has-unneeded-section: the release preset's compile and link flags.
lintian_out=$(lintian --tag-display-limit 0 "$deb" 2>&1) || true
echo "$lintian_out"
while read -r level _ tag _; do
  case "$level" in
    E:) fail "lintian error: $tag" ;;
    W:) fail "lintian warning: $tag" ;;
  esac
done <<<"$lintian_out"

dpkg-deb -x "$deb" "$work/root"
root="$work/root"
share="$root/usr/share"

echo "--- desktop-file-validate"
desktop-file-validate "$share/applications/korvo.desktop" || fail "desktop-file-validate"

echo "--- appstreamcli validate"
metainfo=("$share"/metainfo/*.metainfo.xml)
[ ${#metainfo[@]} -eq 1 ] && [ -f "${metainfo[0]}" ] || fail "one metainfo file expected"
appstreamcli validate --no-net --pedantic "${metainfo[@]}" || fail "appstreamcli validate"
grep -q "<launchable type=\"desktop-id\">korvo.desktop</launchable>" "${metainfo[0]}" ||
  fail "the metainfo does not name korvo.desktop"

echo "--- man --warnings"
for page in korvo korvo-cli; do
  file="$share/man/man1/$page.1.gz"
  [ -f "$file" ] || { fail "no manual page $page(1)"; continue; }
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >/dev/null) || fail "man $page"
  [ -z "$warnings" ] || fail "man $page(1) warns: $warnings"
done

echo "--- file list"
# What the programs look for in the share folder, and what a desktop
# installation needs.
required=(
  usr/bin/korvo usr/bin/korvo-cli
  usr/share/korvo/help/index.html
  usr/share/korvo/scowl-copyright.txt usr/share/korvo/wordnet-copyright.txt
  usr/share/korvo/python3-fake-factory-copyright.txt usr/share/korvo/dict-gcide-copyright.txt
  usr/share/korvo/iso-codes-copyright.txt usr/share/korvo/tzdata-copyright.txt
  usr/share/korvo/libgweather-4-common-copyright.txt
  usr/share/applications/korvo.desktop usr/share/mime/packages/korvo.xml
  usr/share/man/man1/korvo.1.gz usr/share/man/man1/korvo-cli.1.gz
  usr/share/doc/korvo/copyright usr/share/doc/korvo/changelog.gz
  usr/share/icons/hicolor/scalable/apps/korvo.svg
  usr/share/icons/hicolor/scalable/mimetypes/application-x-korvo-puzzle.svg
)
for n in 1 2 3 4 5; do required+=(usr/share/korvo/data$n.bin usr/share/korvo/cdata$n.bin); done
for size in 16 22 24 32 48 64 128 256; do
  required+=(usr/share/icons/hicolor/${size}x${size}/apps/korvo.png
    usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-korvo-puzzle.png)
done
# Score files ship when the build makes them.
for scores in "$bin"/data*.scores; do
  [ -e "$scores" ] && required+=("usr/share/korvo/$(basename "$scores")")
done
for file in "${required[@]}"; do
  [ -f "$root/$file" ] || fail "missing from the package: /$file"
done
# Nothing else: no test program, library or header slips in.
while read -r file; do
  case "$file" in
    usr/bin/korvo | usr/bin/korvo-cli | usr/share/korvo/* | usr/share/applications/korvo.desktop | \
      usr/share/mime/packages/korvo.xml | usr/share/metainfo/*.metainfo.xml | usr/share/man/man1/korvo*.1.gz | \
      usr/share/doc/korvo/* | usr/share/icons/hicolor/*/apps/korvo.* | \
      usr/share/icons/hicolor/*/mimetypes/application-x-korvo-puzzle.*) ;;
    *) fail "unexpected file in the package: /$file" ;;
  esac
done < <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
for n in 1 2 3 4 5; do
  cmp -s "$bin/data$n.bin" "$root/usr/share/korvo/data$n.bin" || fail "data$n.bin differs from the build's"
done

echo "--- the unpacked programs find their files in its share folder"
home="$work/home"
mkdir -p "$home"
[ "$(HOME="$home" "$root/usr/bin/korvo-cli" --version)" = "korvo-cli $version" ] || fail "korvo-cli --version is not $version"
[ "$(HOME="$home" "$root/usr/bin/korvo" --version)" = "korvo $version" ] || fail "korvo --version is not $version"
help=$(HOME="$home" "$root/usr/bin/korvo" --help)
grep -qx "help page: *$root/usr/share/korvo/help/index.html" <<<"$help" || fail "korvo does not find its help page: $help"
grep -qx "shipped data: *$root/usr/share/korvo" <<<"$help" || fail "korvo does not find its data: $help"
# The engine alone, with its fill checked, then through the document (the
# data folder's first-run setup installs the clue databases from the
# package's clue sources).
if ! (cd "$work" && HOME="$home" "$root/usr/bin/korvo-cli" fill --size 9 --time-limit 30 --verify \
  >"$work/fill.txt" 2>&1); then
  cat "$work/fill.txt"
  fail "the unpacked korvo-cli does not fill a 9 x 9 grid"
fi
if ! (cd "$work" && HOME="$home" "$root/usr/bin/korvo-cli" fill --size 9 --time-limit 30 \
  --save "$work/puzzle.kvz" >"$work/fill.txt" 2>&1); then
  cat "$work/fill.txt"
  fail "the unpacked korvo-cli does not make and save a 9 x 9 puzzle"
fi
[ -d "$home/Documents/TolvaneCWBuilder" ] || fail "no data folder made in HOME"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed for $(basename "$deb")" >&2
  exit 1
fi
echo "all package checks passed for $(basename "$deb")"
