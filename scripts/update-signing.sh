#!/usr/bin/env bash
# The update signature: ECDSA P-256 over SHA-256, made with openssl.
#   update-signing.sh dev-key DIR          makes DIR/update-dev-key.pem (and its
#                                          public half .pub.pem) once; prints the
#                                          private key's path
#   update-signing.sh public-hex PUB.pem   the public point X||Y, 128 hex digits
#   update-signing.sh sign KEY.pem VERSION FILE
#                                          the signature file for FILE on stdout
#   update-signing.sh verify PUB.pem FILE.sig FILE
#                                          succeeds when FILE.sig is PUB.pem's
#                                          signature naming FILE's digest
#
# A signature file is four lines of text, each ended by LF:
#   QingheTV-update
#   <version the installer installs, a.b.c.d>
#   <SHA-256 of the installer, 64 lower-case hex digits>
#   <signature, 128 lower-case hex digits: r then s, 32 bytes each>
# The signature is over the first three lines exactly as written, LFs included.
set -euo pipefail

die() { echo "update-signing: $*" >&2; exit 1; }

# The DER of a P-256 public key is this fixed prefix, then 04, X and Y.
p256_prefix=3059301306072a8648ce3d020106082a8648ce3d030107034200

public_hex() {
    local der
    der=$(openssl pkey -pubin -in "$1" -outform DER 2>/dev/null | od -An -v -tx1 | tr -d ' \n') ||
        die "$1: not a public key"
    [[ ${#der} -eq 182 && $der == "${p256_prefix}04"* ]] || die "$1: not a P-256 public key"
    printf '%s\n' "${der:54}"
}

# der_integer HEX: a DER INTEGER of the unsigned big-endian number.
der_integer() {
    local hex=$1
    while [[ ${#hex} -gt 2 && ${hex:0:2} == 00 ]]; do hex=${hex:2}; done
    [[ ${hex:0:1} == [89a-f] ]] && hex=00$hex
    printf '02%02x%s' $((${#hex} / 2)) "$hex"
}

case "${1:-}" in
dev-key)
    dir=${2:?dev-key DIR}
    key="$dir/update-dev-key.pem"
    mkdir -p "$dir"
    if [[ ! -f "$key" ]]; then
        # Several builds may configure at once: the first link wins, the
        # others take its key.
        tmp=$(mktemp "$dir/.key.XXXXXX")
        openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$tmp" 2>/dev/null
        ln "$tmp" "$key" 2>/dev/null || true
        rm -f "$tmp"
        echo "update-signing: made a throwaway development key, $key" >&2
    fi
    pub="${key%.pem}.pub.pem"
    if [[ ! -f "$pub" ]]; then
        tmp=$(mktemp "$dir/.pub.XXXXXX")
        openssl pkey -in "$key" -pubout -out "$tmp"
        mv -f "$tmp" "$pub"
    fi
    printf '%s\n' "$key"
    ;;
public-hex)
    public_hex "${2:?public-hex PUB.pem}"
    ;;
sign)
    key=${2:?sign KEY.pem VERSION FILE}
    version=${3:?sign KEY.pem VERSION FILE}
    file=${4:?sign KEY.pem VERSION FILE}
    [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || die "version '$version' is not a.b.c.d"
    digest=$(sha256sum "$file" | cut -c1-64)
    statement=$(printf 'QingheTV-update\n%s\n%s\n' "$version" "$digest")
    # openssl writes the signature as DER; the file carries r and s, each
    # left-padded to 32 bytes, as the verifier takes them.
    parts=$(printf '%s\n' "$statement" | openssl dgst -sha256 -sign "$key" |
        openssl asn1parse -inform DER | sed -n 's/.*prim: INTEGER *://p')
    [[ $(wc -l <<<"$parts") -eq 2 ]] || die "openssl gave no signature"
    signature=""
    while read -r part; do
        (( ${#part} <= 64 )) || die "signature part too long"
        signature+=$(printf '%64s' "$part" | tr ' ' 0)
    done <<<"$parts"
    printf '%s\n%s\n' "$statement" "${signature,,}"
    ;;
verify)
    pub=${2:?verify PUB.pem FILE.sig FILE}
    sig=${3:?verify PUB.pem FILE.sig FILE}
    file=${4:?verify PUB.pem FILE.sig FILE}
    [[ $(sed -n 1p "$sig") == QingheTV-update && $(wc -l <"$sig") -eq 4 ]] || die "$sig: not a signature file"
    [[ $(sed -n 3p "$sig") == "$(sha256sum "$file" | cut -c1-64)" ]] || die "$sig: names other bytes than $file"
    rs=$(sed -n 4p "$sig")
    [[ $rs =~ ^[0-9a-f]{128}$ ]] || die "$sig: malformed signature"
    body=$(der_integer "${rs:0:64}")$(der_integer "${rs:64}")
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    der=$(printf '30%02x%s' $((${#body} / 2)) "$body")
    printf "$(sed 's/../\\x&/g' <<<"$der")" > "$work/der"
    head -n 3 "$sig" > "$work/statement"
    openssl dgst -sha256 -verify "$pub" -signature "$work/der" "$work/statement" >/dev/null ||
        die "$sig: not signed by $pub"
    ;;
*)
    sed -n '2,/^set -euo/p' "$0" | sed '$d' | cut -c3- >&2
    exit 2
    ;;
esac
