#!/usr/bin/env bash
# Takes the controls' contact sheets again under Xvfb: a form dressed in
# each shipped skin, shown by tools/skin_showcase, cut out of the screen.
#   scripts/control-sheets.sh [gallery|scrollbars] [OUTDIR]
# gallery (the default) writes OUTDIR/controls-<skin>.png, the README's
# sheets (OUTDIR defaults to docs/skins); scrollbars writes
# OUTDIR/scrollbars-<skin>.png (OUTDIR defaults to build/sheets).
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=${1:-gallery}
case "$kind" in
    gallery) prefix=controls out=${2:-$top/docs/skins} ;;
    scrollbars) prefix=scrollbars out=${2:-$top/build/sheets} ;;
    *) echo "control-sheets.sh: unknown form '$kind'" >&2; exit 2 ;;
esac
cd "$top"
scripts/build.sh windows skin_showcase qh_packed_skins >&2
build=$top/build/windows
export QH_WINEPREFIX=${QH_WINEPREFIX:-$build/wineprefix}
scripts/wine-prefix.sh "$QH_WINEPREFIX"
mkdir -p "$out"

# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh
QH_FORCE_XVFB=1 qh_start_xvfb
log=$(mktemp)
program=""
cleanup() {
    [[ -n "$program" ]] && kill "$program" 2>/dev/null || true
    WINEPREFIX="$QH_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
    qh_stop_xvfb
    rm -f "$log"
}
trap cleanup EXIT

for skin in default crystal mac; do
    # The pointer away from every control, so that none is hot.
    xdotool mousemove 1279 1023
    : >"$log"
    QH_WINE_STDOUT=$log scripts/wine-run.sh "$build/bin/skin_showcase.exe" "$kind" \
        "$build/skins/$skin.skn" 20 &
    program=$!
    # The showcase says where its window is once the skin is on it.
    for _ in $(seq 600); do
        grep -q '^window ' "$log" && break
        kill -0 "$program" 2>/dev/null || { cat "$log" >&2; exit 1; }
        sleep 0.1
    done
    read -r _ x y w h < <(grep '^window ' "$log")
    # Long enough for Wine to paint every control.
    sleep 3
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$prefix-$skin.png"
    echo "sheet: $out/$prefix-$skin.png (window ${w}x${h}+${x}+${y})"
    kill "$program" 2>/dev/null || true
    WINEPREFIX="$QH_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
done
