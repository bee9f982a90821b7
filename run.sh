#!/usr/bin/env bash
# Serves the demo portal on 127.0.0.1, builds QingheTV.exe and starts it
# under Wine: on your display when there is one, otherwise inside Xvfb,
# where it writes a screenshot and prints its path.
#   ./run.sh            (QH_RUN_SECONDS="N ...": seconds after start of the headless
#                        screenshots, default 12)
#   QH_DEMO_UPDATE=1 ./run.sh
#                       installs this version with its installer, publishes the
#                       same program one version up on the demo portal and
#                       starts the installed program: it offers the update,
#                       and Yes lets Update.exe check the installer's signature,
#                       install it and restart the program.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$top"
"$top/scripts/deps.sh"
"$top/scripts/build.sh" windows QingheTV demo_site >&2

port=$(sed -n 's/^QH_DEMO_PORT:STRING=//p' build/windows/CMakeCache.txt)
site="$top/build/windows/demo-site"
program_exe="$top/build/windows/bin/QingheTV.exe"
prefix="${QH_WINEPREFIX:-$top/build/windows/wineprefix}"
if [[ "${QH_DEMO_UPDATE:-0}" == 1 ]]; then
    QH_PACKAGE_NEXT=1 "$top/scripts/package.sh" >&2
    version=$(sed -n 's/^#define QH_VERSION_TEXT "\(.*\)"$/\1/p' build/windows/generated/qh_config.h)
    QH_WINEPREFIX="$prefix" "$top/scripts/wine-run.sh" "$top/build/package/QingheTV-$version-setup.exe" /S
    program_exe="$prefix/drive_c/Program Files/QingheTV/QingheTV.exe"
    # The demo site is made again by the next build; the update is ours.
    mkdir -p "$site/update"
    cp "$top/build/package/next-update/"* "$site/update/"
    echo "demo update: $(cat "$site/update/Version.txt") published with its signature, $version installed"
fi
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >"$top/build/demo-server.log" 2>&1 &
server=$!

# shellcheck source=scripts/xvfb.sh
source "$top/scripts/xvfb.sh"
headless=0
[[ -n "${DISPLAY:-}" ]] || headless=1
cleanup() {
    kill "$server" 2>/dev/null || true
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    qh_stop_xvfb
}
trap cleanup EXIT
qh_start_xvfb

echo "demo portal: http://127.0.0.1:$port/"
if [[ $headless -eq 0 ]]; then
    "$top/scripts/wine-run.sh" "$program_exe"
    # The program ends to hand over to Update.exe, which starts the new one:
    # the demo lasts until every program of the prefix has ended.
    [[ "${QH_DEMO_UPDATE:-0}" == 1 ]] && WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
    exit 0
fi

"$top/scripts/wine-run.sh" "$program_exe" &
program=$!
# One screenshot per moment named (seconds after start, ascending).
started=$SECONDS
first=""
for at in ${QH_RUN_SECONDS:-12}; do
    wait_for=$((at - (SECONDS - started)))
    (( wait_for > 0 )) && sleep "$wait_for"
    shot="$top/build/screenshot-$at.png"
    # The virtual desktop fills the top left 1024 x 768 of the screen. (Not
    # xwd: it draws a window that lies wholly inside the one below it black.)
    import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$shot"
    [[ -n "$first" ]] || first=$shot
    echo "screenshot at ${at} s: $shot"
done
cp "$first" "$top/build/screenshot.png"
echo "screenshot: $top/build/screenshot.png"
kill "$program" 2>/dev/null || true
