#!/usr/bin/env bash
# A throwaway self-signed code-signing certificate for the package suite:
#   make_test_certificate.sh DIR    (writes DIR/cert.pem and DIR/key.pem)
set -euo pipefail

dir=${1:?make_test_certificate.sh DIR}
mkdir -p "$dir"
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=QingheTV test code signing" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$dir/key.pem" -out "$dir/cert.pem" 2>/dev/null
