#!/usr/bin/env bash
# Makes a release of the Windows program into build/package/:
#   QingheTV-<version>-setup.exe     the installer (silent with /S)
#   QingheTV-<version>-portable.zip  the program and Update.exe, for any folder
#   QingheTV-<version>-symbols.zip   the debug symbols of both programs
#   SHA256SUMS                       digests of the three
# The programs are built optimised (-O2) and shipped stripped; their
# symbols stay in the separate file, linked to them by name.
# With QH_PACKAGE_NEXT=1 it also writes next-update/: the same program one
# version up as an update host publishes it (Version.txt,
# QingheTV-setup.exe and its .sha256), for the demo portal and the suites.
#   [QH_PACKAGE_NEXT=1] scripts/package.sh
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/scripts/deps.sh" nsis zip
targets=(QingheTV Update)
[[ "${QH_PACKAGE_NEXT:-0}" == 1 ]] && targets+=(QingheTV_next)
"$top/scripts/build.sh" windows "${targets[@]}"

build="${QH_BUILD_ROOT:-$top/build}/windows"
version=$(sed -n 's/^#define QH_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/qh_config.h")
[[ -n "$version" ]] || { echo "package: no version in $build/generated/qh_config.h" >&2; exit 1; }
out="${QH_BUILD_ROOT:-$top/build}/package"
stage="$out/stage"
rm -rf "$out"
mkdir -p "$stage"

for program in QingheTV Update; do
    built="$build/bin/$program.exe"
    [[ $program == Update ]] && built="$build/bin/updater/Update.exe"
    x86_64-w64-mingw32-objcopy --only-keep-debug "$built" "$out/$program.debug"
    x86_64-w64-mingw32-strip --strip-all -o "$stage/$program.exe" "$built"
    (cd "$out" && x86_64-w64-mingw32-objcopy --add-gnu-debuglink="$program.debug" "$stage/$program.exe")
done

# makensis VERSION STAGE OUTFILE
installer() {
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$1" -DSTAGE="$2" \
        -DICON="$top/resources/icons/QingheTV.ico" -DOUTFILE="$3" "$top/installer/QingheTV.nsi"
}
setup="QingheTV-$version-setup.exe"
portable="QingheTV-$version-portable.zip"
symbols="QingheTV-$version-symbols.zip"
installer "$version" "$stage" "$out/$setup"
(cd "$stage" && zip -q -X "$out/$portable" QingheTV.exe Update.exe)
(cd "$out" && zip -q -X "$symbols" QingheTV.debug Update.debug && rm -f QingheTV.debug Update.debug)
(cd "$out" && sha256sum "$setup" "$portable" "$symbols" > SHA256SUMS)

if [[ "${QH_PACKAGE_NEXT:-0}" == 1 ]]; then
    next=$(sed -n 's/^QH_NEXT_VERSION:INTERNAL=//p' "$build/CMakeCache.txt")
    mkdir -p "$out/next-stage" "$out/next-update"
    x86_64-w64-mingw32-strip --strip-all -o "$out/next-stage/QingheTV.exe" "$build/bin/next/QingheTV.exe"
    cp "$stage/Update.exe" "$out/next-stage/"
    installer "$next" "$out/next-stage" "$out/next-update/QingheTV-setup.exe"
    printf '%s' "$next" > "$out/next-update/Version.txt"
    (cd "$out/next-update" && sha256sum QingheTV-setup.exe > QingheTV-setup.exe.sha256)
    echo "package: next-update/ publishes $next"
fi

size() { stat -c %s "$1"; }
echo "package: $out"
printf '  %-40s %9d bytes\n' "stage/QingheTV.exe (stripped)" "$(size "$stage/QingheTV.exe")" \
    "stage/Update.exe (stripped)" "$(size "$stage/Update.exe")" \
    "$setup" "$(size "$out/$setup")" "$portable" "$(size "$out/$portable")" \
    "$symbols" "$(size "$out/$symbols")"
max=$((2 * 1024 * 1024))
if (( $(size "$stage/QingheTV.exe") >= max )); then
    echo "package: QingheTV.exe is 2 MB or more" >&2
    exit 1
fi
