#!/usr/bin/env bash
# Runs one Windows program under Wine in its build's own prefix; the
# cross-compiling emulator of the Windows build:
#   scripts/wine-run.sh PROGRAM.exe [ARG...]
# The prefix is <build>/wineprefix, where <build> is the folder above the
# program that holds CMakeCache.txt (or QH_WINEPREFIX when set). Without a
# display the program runs inside a private Xvfb.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$1
shift

if [[ -z "${QH_WINEPREFIX:-}" ]]; then
    dir=$(cd "$(dirname "$program")" && pwd)
    while [[ "$dir" != "/" && ! -f "$dir/CMakeCache.txt" ]]; do dir=$(dirname "$dir"); done
    [[ -f "$dir/CMakeCache.txt" ]] || { echo "wine-run: no build folder above $program" >&2; exit 2; }
    QH_WINEPREFIX="$dir/wineprefix"
fi
"$here/wine-prefix.sh" "$QH_WINEPREFIX"

export WINEPREFIX="$QH_WINEPREFIX" WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINELOADER=/usr/lib/wine/wine64
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# Keep the server out of our pipes: started here, it would hold ctest's
# output pipe open after the program ends.
/usr/lib/wine/wineserver -p 2>/dev/null </dev/null >/dev/null || true

# The first Wine process of a session also starts the desktop and the
# services, which inherit its standard handles and outlive it; a pipe held
# by them never reaches end of file. So the program writes to files, and
# this script passes them on once it has ended. QH_WINE_STDOUT names a
# file for the program's output instead, for a caller that reads it while
# the program runs.
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
run_out=${QH_WINE_STDOUT:-$out}
run=("$WINELOADER" "$program" "$@")
if [[ -n "${QH_WINE_DPI:-}" && "${QH_WINE_OWN_SCREEN:-1}" == 1 ]]; then
    # A DPI prefix's desktop grows with the DPI: it gets a screen of its own
    # that holds it, and never lies over the suites' desktop (a caller that
    # has a screen large enough and wants to see it sets QH_WINE_OWN_SCREEN=0).
    w=$(((1024 * QH_WINE_DPI + 48) / 96)) h=$(((768 * QH_WINE_DPI + 48) / 96))
    run=(xvfb-run -a -s "-screen 0 $((w > 1280 ? w : 1280))x$((h > 1024 ? h : 1024))x24" "${run[@]}")
elif [[ -z "${DISPLAY:-}" ]]; then
    run=(xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}")
fi
set +e
"${run[@]}" >"$run_out" 2>"$err" </dev/null
rc=$?
set -e
# A DPI prefix's desktop lived on that screen, which is gone with the run.
[[ -z "${QH_WINE_DPI:-}" ]] || /usr/lib/wine/wineserver -k 2>/dev/null || true
[[ -n "${QH_WINE_STDOUT:-}" ]] || cat "$out"
cat "$err" >&2
exit $rc
