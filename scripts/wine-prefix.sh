#!/usr/bin/env bash
# Makes (once) the Wine prefix the project's Windows programs run in:
#   [QH_WINE_DPI=N] scripts/wine-prefix.sh PREFIX
# Chinese fonts for the faces the windows ask for, no Mono or Gecko install
# prompts, no crash dialogs, and one shared virtual desktop with a tray.
# QH_WINE_DPI gives the prefix's programs a screen of N DPI (LogPixels)
# instead of Wine's 96, and a virtual desktop as much larger than the
# 1024 x 768 one as the DPI is (the same room for windows that scale with
# it); keep such a prefix apart from the suites' own one.
# Idempotent: a stamp holding this script's checksum and the DPI marks a
# finished prefix.
set -euo pipefail

prefix=${1:?usage: wine-prefix.sh PREFIX}
dpi=${QH_WINE_DPI:-}
if [[ -n $dpi ]] && ! [[ $dpi =~ ^[0-9]+$ && $dpi -ge 48 && $dpi -le 480 ]]; then
    echo "wine-prefix: QH_WINE_DPI must be a number from 48 to 480, not '$dpi'" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
stamp="$prefix/.qh-prefix-ready"
desktop=1024x768
[[ -n $dpi ]] && desktop="$(((1024 * dpi + 48) / 96))x$(((768 * dpi + 48) / 96))"
want="$(cksum < "$here/wine-prefix.sh" | cut -d' ' -f1)${dpi:+ dpi $dpi}"
if [[ -f "$stamp" && "$(cat "$stamp")" == "$want" ]]; then
    exit 0
fi

# Several test programs may start at once: one of them builds the prefix.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [[ -f "$stamp" && "$(cat "$stamp")" == "$want" ]]; then
    exit 0
fi

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=wine
# Whatever still runs in a prefix being made again belongs to the old one
# (and keeps wineboot waiting).
"$WINESERVER" -k 2>/dev/null || true
# Leaving mscoree and mshtml out of the first boot keeps the installers of
# Mono and Gecko from asking.
WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >"$prefix.log" 2>&1 </dev/null
"$WINESERVER" -w

font="WenQuanYi Micro Hei"
reg=$(mktemp --suffix=.reg)
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for face in "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "SimSun" "宋体" "NSimSun" \
        "新宋体" "Microsoft YaHei" "微软雅黑" "Arial" "Segoe UI"; do
        printf '"%s"="%s"\r\n' "$face" "$font"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n'
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n' "$desktop"
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
    # No menu entries or file associations on the host for what runs here.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\r\n"winemenubuilder.exe"=""\r\n'
    # Wine takes the DPI from the user's LogPixels or the hardware
    # profile's (either alone is enough): both are set, or both removed so
    # that a prefix made again without a DPI is back at 96.
    logpixels=${dpi:+$(printf 'dword:%08x' "$dpi")}
    for key in 'HKEY_CURRENT_USER\Control Panel\Desktop' 'HKEY_CURRENT_CONFIG\Software\Fonts'; do
        printf '\r\n[%s]\r\n"LogPixels"=%s\r\n' "$key" "${logpixels:--}"
    done
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
"$wine" regedit /S "$(winepath_of() { echo "Z:${1//\//\\}"; }; winepath_of "$reg")" >>"$prefix.log" 2>&1 </dev/null
"$WINESERVER" -w
rm -f "$reg"
echo "$want" >"$stamp"
