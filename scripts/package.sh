#!/usr/bin/env bash
# Makes a release of the Windows program into build/package/:
#   QingheTV-<version>-setup.exe     the installer (silent with /S)
#   QingheTV-<version>-portable.zip  the program and Update.exe, for any folder
#   QingheTV-<version>-symbols.zip   the debug symbols of both programs
#   SHA256SUMS                       digests of the three
# The programs are built optimised (-O2) and shipped stripped; their
# symbols stay in the separate file, linked to them by name.
#   scripts/package.sh
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/scripts/deps.sh" nsis zip
"$top/scripts/build.sh" windows QingheTV Update

build="${QH_BUILD_ROOT:-$top/build}/windows"
version=$(sed -n 's/^#define QH_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/qh_config.h")
[[ -n "$version" ]] || { echo "package: no version in $build/generated/qh_config.h" >&2; exit 1; }
out="${QH_BUILD_ROOT:-$top/build}/package"
stage="$out/stage"
rm -rf "$out"
mkdir -p "$stage"

for program in QingheTV Update; do
    x86_64-w64-mingw32-objcopy --only-keep-debug "$build/bin/$program.exe" "$out/$program.debug"
    x86_64-w64-mingw32-strip --strip-all -o "$stage/$program.exe" "$build/bin/$program.exe"
    (cd "$out" && x86_64-w64-mingw32-objcopy --add-gnu-debuglink="$program.debug" "$stage/$program.exe")
done

setup="QingheTV-$version-setup.exe"
portable="QingheTV-$version-portable.zip"
symbols="QingheTV-$version-symbols.zip"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" \
    -DICON="$top/resources/icons/QingheTV.ico" -DOUTFILE="$out/$setup" \
    "$top/installer/QingheTV.nsi"
(cd "$stage" && zip -q -X "$out/$portable" QingheTV.exe Update.exe)
(cd "$out" && zip -q -X "$symbols" QingheTV.debug Update.debug && rm -f QingheTV.debug Update.debug)
(cd "$out" && sha256sum "$setup" "$portable" "$symbols" > SHA256SUMS)

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
