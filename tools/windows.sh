#!/bin/sh
# marvolt-cli.exe for 64-bit Windows, cross-built here with mingw-w64 in build-windows/, with
# the core and marvolt-cli tests run through Wine (ctest); then the example survey modified
# under Wine in both styles, which must be byte for byte what the Linux build writes; then
# the ZIP (marvolt-cli.exe, README, licence) in build-windows/. Installs what is missing.
set -eu
cd "$(dirname "$0")/.."
MARVOLT_WINDOWS_TOOLS=1 tools/install-deps.sh

# Wine keeps its Windows in the build folder, quiet, under the English of C.UTF-8 (file names
# in UTF-8) with a 24-hour clock as the user's time format, as the C locale writes times.
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all LC_ALL=C.UTF-8
mkdir -p build-windows
wineserver -k 2>/dev/null || true  # one left by an earlier run that was cut short
wine reg add 'HKCU\Control Panel\International' /v sTimeFormat /d HH:mm:ss /f >/dev/null
# One Wine server for the whole run, started once that call's has ended: each test is then
# a process start of hundredths of a second, and the first is not slowed by Wine's own start.
wineserver -w
wineserver -p
trap 'wineserver -k' EXIT
# Wine's own services start with the first program and stay with the server: started here,
# they hold none of ctest's output pipes (ctest would wait for them to close).
wine cmd.exe /c exit </dev/null >/dev/null 2>&1

cmake -S . -B build-windows --no-warn-unused-cli \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    ${MARVOLT_WERROR:+"-DMARVOLT_WERROR=$MARVOLT_WERROR"} >/dev/null
cmake --build build-windows -j2
ctest --test-dir build-windows --output-on-failure -j2

# The example survey modified by the Linux build and under Wine, in each style.
cmake -S . -B build ${MARVOLT_WERROR:+"-DMARVOLT_WERROR=$MARVOLT_WERROR"} >/dev/null
cmake --build build -j2 --target marvolt-cli
work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k' EXIT
for style in flags records; do
    for system in linux windows; do
        mkdir "$work/$system-$style"
        cp examples/punkty.txt examples/pomiar.11o "$work/$system-$style/"
    done
    (cd "$work/linux-$style" && "$OLDPWD/build/cli/marvolt-cli" modify --events=$style \
        punkty.txt pomiar.11o >/dev/null)
    (cd "$work/windows-$style" && wine "$OLDPWD/build-windows/cli/marvolt-cli.exe" modify \
        --events=$style punkty.txt pomiar.11o >/dev/null)
    for file in pomiar.11o pomiar.11o.bak; do
        cmp "$work/linux-$style/$file" "$work/windows-$style/$file"
    done
    cmp -s examples/pomiar.11o "$work/windows-$style/pomiar.11o" && {
        echo "windows.sh: the example was not modified ($style)" >&2
        exit 1
    }
    echo "The example modified under Wine ($style) is byte for byte the Linux build's."
done

(cd build-windows && cpack >/dev/null)
ls build-windows/marvolt-cli-*.zip
