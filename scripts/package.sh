#!/usr/bin/env bash
# Makes a release of the Windows program into build/package/:
#   QingheTV-<version>-setup.exe     the installer (silent with /S)
#   QingheTV-<version>-portable.zip  the program and Update.exe, for any folder
#   QingheTV-<version>-symbols.zip   the debug symbols of both programs
#   QingheTV-<version>-setup.exe.sig the installer's update signature
#   SHA256SUMS                       digests of the three
# The programs are built optimised (-O2) and shipped stripped; their
# symbols stay in the separate file, linked to them by name.
# With QH_PACKAGE_NEXT=1 it also writes next-update/: the same program one
# version up as an update host publishes it (Version.txt,
# QingheTV-setup.exe, its .sig and, for people, its .sha256), for the demo
# portal and the suites.
#
# Every installer is signed for Update.exe (scripts/update-signing.sh) with
# the private key in the file QH_SIGNING_KEY names; without it, with a
# throwaway development key made once under build/signing/, which only
# Update.exe built here trusts. The key Update.exe trusts is the Windows
# build's QH_UPDATE_PUBLIC_KEY; the script refuses to sign with a key whose
# public half that is not.
# With QH_CODESIGN_CERT and QH_CODESIGN_KEY (see scripts/codesign.sh) both
# programs, the uninstaller and the installers are Authenticode-signed.
#   [QH_SIGNING_KEY=key.pem] [QH_CODESIGN_CERT=... QH_CODESIGN_KEY=...]
#   [QH_PACKAGE_NEXT=1] scripts/package.sh
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/scripts/deps.sh" nsis zip openssl osslsigncode
root="${QH_BUILD_ROOT:-$top/build}"
build="$root/windows"
out="$root/package"

# The development key is made before the build, which compiles its public
# half into Update.exe.
sign="$top/scripts/update-signing.sh"
if [[ -n "${QH_SIGNING_KEY:-}" ]]; then
    key=$QH_SIGNING_KEY
    [[ -r "$key" ]] || { echo "package: QH_SIGNING_KEY: cannot read $key" >&2; exit 1; }
else
    key=$("$sign" dev-key "$root/signing")
    echo "package: no QH_SIGNING_KEY; the updates are signed with the throwaway development key $key"
fi

targets=(QingheTV Update)
[[ "${QH_PACKAGE_NEXT:-0}" == 1 ]] && targets+=(QingheTV_next)
"$top/scripts/build.sh" windows "${targets[@]}"

version=$(sed -n 's/^#define QH_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/qh_config.h")
[[ -n "$version" ]] || { echo "package: no version in $build/generated/qh_config.h" >&2; exit 1; }
# Signing with a key Update.exe does not trust would publish updates that
# nobody can install.
trusted=$(sed -n 's/^QH_UPDATE_PUBLIC_KEY:FILEPATH=//p' "$build/CMakeCache.txt")
compiled=$(sed -n 's/^inline constexpr .*{\(.*\)};$/\1/p' "$build/generated/update_public_key.h" |
    sed 's/0x//g; s/,//g')
if [[ "$(openssl pkey -in "$key" -pubout | "$sign" public-hex /dev/stdin)" != "$compiled" ]]; then
    echo "package: Update.exe trusts $trusted, which is not the public half of $key;" >&2
    echo "  configure the Windows build with -DQH_UPDATE_PUBLIC_KEY=<the key's public half>" >&2
    exit 1
fi

codesign=()
if [[ -n "${QH_CODESIGN_CERT:-}${QH_CODESIGN_KEY:-}" ]]; then
    [[ -r "${QH_CODESIGN_CERT:-}" && -r "${QH_CODESIGN_KEY:-}" ]] ||
        { echo "package: QH_CODESIGN_CERT and QH_CODESIGN_KEY must both name readable files" >&2; exit 1; }
    codesign=("$top/scripts/codesign.sh")
    echo "package: Authenticode-signing with $QH_CODESIGN_CERT${QH_CODESIGN_TIMESTAMP:+, timestamped by $QH_CODESIGN_TIMESTAMP}"
else
    echo "package: no QH_CODESIGN_CERT/QH_CODESIGN_KEY; the programs and installers are not Authenticode-signed"
fi
# authenticode FILE...: signs them in place when there is a certificate.
authenticode() {
    [[ ${#codesign[@]} -eq 0 ]] || "${codesign[@]}" "$@"
}
stage="$out/stage"
rm -rf "$out"
mkdir -p "$stage"

for program in QingheTV Update; do
    built="$build/bin/$program.exe"
    [[ $program == Update ]] && built="$build/bin/updater/Update.exe"
    x86_64-w64-mingw32-objcopy --only-keep-debug "$built" "$out/$program.debug"
    x86_64-w64-mingw32-strip --strip-all -o "$stage/$program.exe" "$built"
    (cd "$out" && x86_64-w64-mingw32-objcopy --add-gnu-debuglink="$program.debug" "$stage/$program.exe")
    authenticode "$stage/$program.exe"
done

# installer VERSION STAGE OUTFILE: made, Authenticode-signed when there is
# a certificate, then signed for Update.exe (OUTFILE.sig) over those bytes.
installer() {
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$1" -DSTAGE="$2" \
        -DICON="$top/resources/icons/QingheTV.ico" -DOUTFILE="$3" \
        ${codesign[0]:+-DCODESIGN="${codesign[0]}"} "$top/installer/QingheTV.nsi"
    authenticode "$3"
    "$sign" sign "$key" "$1" "$3" > "$3.sig"
    "$sign" verify "$trusted" "$3.sig" "$3"
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
    authenticode "$out/next-stage/QingheTV.exe"
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
# A guard against a library pulled in whole, not a budget to spend: the
# program with its skin engine, HTTP client and DPI scaling is about 2.1 MB.
max=$((5 * 1024 * 1024 / 2))
if (( $(size "$stage/QingheTV.exe") >= max )); then
    echo "package: QingheTV.exe is 2.5 MB or more" >&2
    exit 1
fi
