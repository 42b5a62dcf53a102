#!/usr/bin/env bash
# Runs the converter's end-to-end tests against the Windows build under Wine.
#   tests/windows/run_under_wine.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR
# Cases that cannot exist on Windows report themselves as skipped
# ("not applicable on Windows: ..."); the fault-injection tests wrap glibc
# calls of a Linux build and do not run here at all.
set -euo pipefail
windows_build=$(cd "${1:?windows build directory}" && pwd)
native_build=$(cd "${2:?native build directory}" && pwd)
wine=${WINE:-/usr/lib/wine/wine64}
wineserver=$(dirname "$wine")/wineserver
exe="$windows_build/ombrix2grf.exe"

export WINEPREFIX="$windows_build/wineprefix" WINEDEBUG=-all LANG=C.UTF-8 HOME="${HOME:-$windows_build}"
# The first start creates the prefix and says so on standard error; get it
# out of the way, then keep one server running for all the test processes.
(cd "$windows_build" && "$wine" "$exe" no-such-file.bmp >/dev/null 2>&1 || true)
"$wineserver" -p >/dev/null 2>&1 &
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT

OMBRIX2GRF_EXE="$exe" WINE="$wine" "$native_build/tests/converter_run_tests"
