#!/usr/bin/env bash
# Takes the README's pictures of the program at other DPIs under Xvfb:
#   scripts/screenshots-dpi.sh [OUTDIR]      (default docs/screenshots)
# At 144 DPI (150 %) the main window and its 视图 drop-down in each skin;
# then the main window at 96, 144 and 192 DPI side by side. Each DPI runs in
# a Wine prefix of its own (build/windows/wineprefix-<dpi>) whose desktop is
# the 1024 x 768 one scaled; the schedule is off so no popup covers them.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$top/docs/screenshots}
mkdir -p "$out"
cd "$top"
scripts/deps.sh
scripts/build.sh windows QingheTV demo_site >&2
build=$top/build/windows
port=$(sed -n 's/^QH_DEMO_PORT:STRING=//p' "$build/CMakeCache.txt")

site=$(mktemp -d)
cp -r "$build/demo-site/." "$site/"
rm -f "$site/ad/Config.txt"
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >/dev/null 2>&1 &
server=$!
# One screen that holds the largest desktop.
export QH_XVFB_SCREEN=2048x1536x24 QH_WINE_OWN_SCREEN=0
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh
QH_FORCE_XVFB=1 qh_start_xvfb
program="" prefix=""
stop_program() {
    [[ -n "$program" ]] && kill "$program" 2>/dev/null || true
    [[ -n "$prefix" ]] && WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    program=""
}
cleanup() {
    stop_program
    kill "$server" 2>/dev/null || true
    qh_stop_xvfb
    rm -rf "$site"
}
trap cleanup EXIT

scaled() { echo $((($1 * dpi + 48) / 96)); }
# The main window, centred on its desktop, with a margin.
window_area() {
    local w h
    w=$(scaled 916) h=$(scaled 648)
    local m=$(scaled 8)
    echo "$((w + 2 * m))x$((h + 2 * m))+$(((($(scaled 1024) - w) / 2) - m))+$(((($(scaled 768) - h) / 2) - m - $(scaled 2)))"
}
shot() {
    import -display "$DISPLAY" -window root -crop "$2" +repage "$out/$1.png"
    echo "screenshot: $out/$1.png"
}
keys() {
    xdotool key --delay 150 "$@"
    sleep 1.5
}
start_at() {
    dpi=$1
    prefix=$build/wineprefix-$dpi
    QH_WINE_DPI=$dpi scripts/wine-prefix.sh "$prefix"
    QH_WINE_DPI=$dpi QH_WINEPREFIX=$prefix scripts/wine-run.sh "$build/bin/QingheTV.exe" &
    program=$!
    sleep 25
}

start_at 144
for skin in 0 1 2; do
    name=$(case $skin in 0) echo default ;; 1) echo crystal ;; 2) echo mac ;; esac)
    if [[ $skin != 0 ]]; then
        downs=()
        for ((i = 0; i < skin; i++)); do downs+=(Down); done
        keys alt+t Up Right "${downs[@]}" Return
        sleep 1
    fi
    xdotool mousemove 5 5
    shot "main-window-150-$name" "$(window_area)"
    keys alt+v Down
    shot "menu-dropdown-150-$name" "$(window_area)"
    keys Escape Escape
done
# The prefix keeps the skin chosen last: back to the first one.
keys alt+t Up Right Return
stop_program

sides=()
for d in 96 144 192; do
    start_at "$d"
    shot "main-window-$d-dpi" "$(window_area)"
    sides+=("$out/main-window-$d-dpi.png")
    stop_program
done
convert "${sides[@]}" -bordercolor "#3a6ea5" -border 8 -background "#3a6ea5" -gravity south +append "$out/main-window-100-150-200.png"
rm -f "${sides[@]}"
echo "screenshot: $out/main-window-100-150-200.png"
