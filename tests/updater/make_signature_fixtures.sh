#!/usr/bin/env bash
# Signatures made the way a release makes them (openssl, through
# scripts/update-signing.sh), for the updater suite natively and under Wine:
# the vendor's key and a statement it signed, and the same statement signed
# by another key.
#   make_signature_fixtures.sh OUT.h
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=${1:?make_signature_fixtures.sh OUT.h}
mkdir -p "$(dirname "$out")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sign="$top/scripts/update-signing.sh"

vendor=$("$sign" dev-key "$work/vendor" 2>/dev/null)
other=$("$sign" dev-key "$work/other" 2>/dev/null)
printf 'the bytes of an installer\n' > "$work/installer"
c_string() { sed 's/$/\\n/' "$1" | tr -d '\n'; }
"$sign" sign "$vendor" 2.0.0.2 "$work/installer" > "$work/vendor.sig"
"$sign" sign "$other" 2.0.0.2 "$work/installer" > "$work/other.sig"
{
    echo "// Made by tests/updater/make_signature_fixtures.sh."
    echo "#pragma once"
    echo "inline constexpr char kVendorKeyHex[] = \"$("$sign" public-hex "${vendor%.pem}.pub.pem")\";"
    echo "inline constexpr char kVendorSigned[] = \"$(c_string "$work/vendor.sig")\";"
    echo "inline constexpr char kOtherKeySigned[] = \"$(c_string "$work/other.sig")\";"
} > "$out.tmp"
mv "$out.tmp" "$out"
