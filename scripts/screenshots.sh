#!/usr/bin/env bash
# Takes the README's pictures again under Xvfb, as a user would see them:
#   scripts/screenshots.sh [OUTDIR]      (default docs/screenshots)
# The main window in each skin, its 视图 drop-down with the checked item
# selected, the about box, the tray menu (all with the popup schedule
# switched off, so no popup covers them), then the demo schedule's popups
# through ./run.sh. Keys and clicks are X-level (xdotool); each picture is taken
# a moment after its keys, long enough for Wine to paint.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$top/docs/screenshots}
mkdir -p "$out"
cd "$top"
scripts/deps.sh
scripts/build.sh windows QingheTV demo_site >&2
build=$top/build/windows
port=$(sed -n 's/^QH_DEMO_PORT:STRING=//p' "$build/CMakeCache.txt")
export QH_WINEPREFIX=${QH_WINEPREFIX:-$build/wineprefix}
scripts/wine-prefix.sh "$QH_WINEPREFIX"

# The demo site without its schedule: nothing slides over the windows.
site=$(mktemp -d)
cp -r "$build/demo-site/." "$site/"
rm -f "$site/ad/Config.txt"
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >/dev/null 2>&1 &
server=$!
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh
QH_FORCE_XVFB=1 qh_start_xvfb
program=""
cleanup() {
    [[ -n "$program" ]] && kill "$program" 2>/dev/null || true
    kill "$server" 2>/dev/null || true
    WINEPREFIX="$QH_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
    qh_stop_xvfb
    rm -rf "$site"
}
trap cleanup EXIT

# shot NAME WxH+X+Y: a part of the 1024 x 768 virtual desktop.
shot() {
    import -display "$DISPLAY" -window root -crop "$2" +repage "$out/$1.png"
    echo "screenshot: $out/$1.png"
}
keys() {
    xdotool key --delay 150 "$@"
    sleep 1.5
}

scripts/wine-run.sh "$build/bin/QingheTV.exe" &
program=$!
sleep 15
# The main window, centred: 916 x 648 with a margin of 7.
window=930x665+47+53
shot main-window "$window"
keys alt+v Down
shot menu-dropdown "$window"
keys Escape Escape
keys alt+s Up Return
shot about-box 380x260+322+254
keys Escape
# The tray icon sits at the right end of the test bed's taskbar.
xdotool mousemove 1012 757 click 3
sleep 1.5
keys Down
shot tray-menu 424x268+600+500
keys Escape
# The window in front again: a click on its caption.
xdotool mousemove 500 70 click 1
sleep 1
for skin in 1 2; do
    name=$([[ $skin == 1 ]] && echo crystal || echo mac)
    downs=()
    for ((i = 0; i < skin; i++)); do downs+=(Down); done
    keys alt+t Up Right "${downs[@]}" Return
    sleep 1
    xdotool mousemove 5 5
    shot "main-window-$name" "$window"
done
kill "$program" 2>/dev/null || true
WINEPREFIX="$QH_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
program=""

WINEPREFIX="$QH_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
kill "$server" 2>/dev/null || true
qh_stop_xvfb
unset DISPLAY

# The demo schedule's popups: run.sh's headless screenshots at 14, 45 and
# 100 seconds, the last one whole, the bottom right of each side by side.
QH_RUN_SECONDS="14 45 100" ./run.sh
cp build/screenshot-100.png "$out/popup.png"
convert build/screenshot-14.png build/screenshot-45.png build/screenshot-100.png \
    -crop 448x308+576+460 +repage +append "$out/popups.png"
echo "screenshot: $out/popups.png"
