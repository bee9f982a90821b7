#!/usr/bin/env bash
# Every program of the package carries an Authenticode signature by the
# suite's certificate, the uninstaller too (it exists only once the
# installer has written it: installed here silently and removed again),
# and every installer its update signature by the key Update.exe trusts.
#   check_signatures.sh PACKAGE_DIR CERT.pem WINDOWS_BUILD_DIR
set -euo pipefail

package=${1:?} cert=${2:?} build=${3:?}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
failed=0
authenticode() {
    if osslsigncode verify -CAfile "$cert" -in "$1" >"$1.verify.log" 2>&1; then
        echo "authenticode ok: $1"
    else
        echo "authenticode FAILED: $1" >&2
        cat "$1.verify.log" >&2
        failed=1
    fi
    rm -f "$1.verify.log"
}
trusted=$(sed -n 's/^QH_UPDATE_PUBLIC_KEY:FILEPATH=//p' "$build/CMakeCache.txt")
update_signature() {
    if "$top/scripts/update-signing.sh" verify "$trusted" "$1.sig" "$1"; then
        echo "update signature ok: $1.sig"
    else
        echo "update signature FAILED: $sig" >&2
        failed=1
    fi
}

setup=$(ls "$package"/QingheTV-*-setup.exe)
for file in "$package/stage/QingheTV.exe" "$package/stage/Update.exe" "$package/next-stage/QingheTV.exe" \
            "$setup" "$package/next-update/QingheTV-setup.exe"; do
    authenticode "$file"
done
update_signature "$setup"
update_signature "$package/next-update/QingheTV-setup.exe"

prefix="$build/wineprefix"
folder="$prefix/drive_c/QhSignCheck"
QH_WINEPREFIX="$prefix" "$top/scripts/wine-run.sh" "$setup" /S '/D=C:\QhSignCheck'
authenticode "$folder/Uninstall.exe"
QH_WINEPREFIX="$prefix" "$top/scripts/wine-run.sh" "$folder/Uninstall.exe" /S
# The uninstaller runs from a copy of itself and returns at once.
for _ in $(seq 60); do [[ -e "$folder/Uninstall.exe" ]] || break; sleep 1; done
exit $failed
