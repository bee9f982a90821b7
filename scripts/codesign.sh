#!/usr/bin/env bash
# Authenticode-signs Windows programs in place with osslsigncode, with the
# vendor's code-signing certificate:
#   QH_CODESIGN_CERT=cert.pem QH_CODESIGN_KEY=key.pem [QH_CODESIGN_PASS=...]
#   [QH_CODESIGN_TIMESTAMP=http://timestamp.example/] scripts/codesign.sh FILE.exe...
# The certificate file may hold the whole chain (PEM, or DER/SPC); with
# QH_CODESIGN_TIMESTAMP the signature is timestamped (RFC 3161) and stays
# valid after the certificate expires. package.sh calls it, and makensis
# calls it for the uninstaller as it writes it into the installer.
set -euo pipefail

: "${QH_CODESIGN_CERT:?codesign: QH_CODESIGN_CERT names no certificate}"
: "${QH_CODESIGN_KEY:?codesign: QH_CODESIGN_KEY names no key}"
for file in "$@"; do
    args=(sign -certs "$QH_CODESIGN_CERT" -key "$QH_CODESIGN_KEY" -h sha256 -n "青禾网络电视")
    [[ -n "${QH_CODESIGN_PASS:-}" ]] && args+=(-pass "$QH_CODESIGN_PASS")
    [[ -n "${QH_CODESIGN_TIMESTAMP:-}" ]] && args+=(-ts "$QH_CODESIGN_TIMESTAMP")
    signed="$file.signed"
    rm -f "$signed"
    osslsigncode "${args[@]}" -in "$file" -out "$signed" >/dev/null
    mv -f "$signed" "$file"
done
