#!/bin/sh
# Builds the Debian package, installs it with dpkg, runs the installed programs, validates
# the desktop entry, the metadata and the manual page, then removes the package and checks
# that nothing it installed is left. Needs root (CI runs it after the tests).
set -eu
cd "$(dirname "$0")/.."
deb=$(tools/package.sh | tail -n 1)

dpkg -i "$deb"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg -L marvolt >"$work/installed"
version=$(dpkg-query -W -f='${Version}' marvolt)

echo "Checking the installed programs"
test "$(command -v marvolt-cli)" = /usr/bin/marvolt-cli
test "$(marvolt-cli --version)" = "marvolt-cli $version"
# The example survey: the rewrite changes the flags of its eight epoch lines and nothing else.
cp examples/punkty.txt examples/pomiar.11o "$work/"
marvolt-cli modify "$work/punkty.txt" "$work/pomiar.11o" >"$work/output"
grep -qx "Zakończyłem modyfikację pliku $work/pomiar.11o" "$work/output"
test "$(cmp -l "$work/pomiar.11o.bak" "$work/pomiar.11o" | wc -l)" -eq 8
# The window starts from the installed files and runs until it is stopped.
status=0
QT_QPA_PLATFORM=offscreen timeout 5 Marvolt || status=$?
test "$status" -eq 124

echo "Validating the desktop entry, the metadata and the manual page"
desktop-file-validate /usr/share/applications/example.marvolt.Marvolt.desktop
appstreamcli validate --no-net /usr/share/metainfo/example.marvolt.Marvolt.metainfo.xml
grep -q "<release version=\"$version\"" /usr/share/metainfo/example.marvolt.Marvolt.metainfo.xml
test "$(man -w marvolt-cli)" = /usr/share/man/man1/marvolt-cli.1.gz
MANWIDTH=80 man --warnings marvolt-cli >/dev/null 2>"$work/man-warnings"
test ! -s "$work/man-warnings"

echo "Removing the package"
dpkg -r marvolt
# A path it installed may stay only as a directory that another package owns.
left=""
while read -r path; do
    if [ -e "$path" ] && ! { [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1; }; then
        left="$left $path"
    fi
done <"$work/installed"
if [ -n "$left" ]; then
    echo "Left after dpkg -r:$left" >&2
    exit 1
fi
echo "The package installed, ran and was removed cleanly"
