#!/usr/bin/env bash
# Puts a built tavrin.exe into the release folder DIST with SHA256SUMS and
# RELEASE.md, Authenticode-signed when a certificate is given. DIST appears
# only once everything in it is written and checked.
#   scripts/release-package.sh EXE COMMIT DIST
# Signing takes its files from this command's environment only:
#   TAVRIN_SIGN_CERT               the certificate (PEM), followed by its chain
#   TAVRIN_SIGN_KEY                its private key (PEM)
#   TAVRIN_SIGN_KEY_PASSWORD_FILE  a file holding the key's password, if it has one
#   TAVRIN_SIGN_TIMESTAMP_URL      an RFC 3161 time-stamp service (optional)
#   TAVRIN_SIGN_CA                 the root the signature is checked against
#                                  (default: the certificate file)
#   TAVRIN_SIGN_TSA_CA             the root the time stamp is checked against
#                                  (default: the system's certificates)
set -euo pipefail

if (($# != 3)); then
  echo "usage: scripts/release-package.sh EXE COMMIT DIST" >&2
  exit 2
fi
exe=$1 commit=$2 dist=${3%/}

fail() {
  echo "release-package.sh: $*" >&2
  exit 1
}

cert=${TAVRIN_SIGN_CERT:-}
key=${TAVRIN_SIGN_KEY:-}
timestamp_url=${TAVRIN_SIGN_TIMESTAMP_URL:-}
# Half a signing set-up must not quietly give an unsigned release.
others=${TAVRIN_SIGN_KEY_PASSWORD_FILE:-}$timestamp_url${TAVRIN_SIGN_CA:-}${TAVRIN_SIGN_TSA_CA:-}
if [[ -z $cert || -z $key ]] && [[ -n $cert$key$others ]]; then
  fail "signing needs both TAVRIN_SIGN_CERT and TAVRIN_SIGN_KEY"
fi

version=$(i686-w64-mingw32-windres -i "$exe" -O rc | sed -n 's/^ *FILEVERSION //p' | tr -d ' ' | tr , .)
[[ -n $version ]] || fail "$exe has no file version"

mkdir -p "$(dirname "$dist")"
staging=$(mktemp -d "$dist.XXXXXX")
scratch=$(mktemp -d)
trap 'rm -rf "$staging" "$scratch"' EXIT

show_log_and_fail() {  # log message
  cat "$1" >&2
  fail "$2"
}

sign() {
  local signing=(sign -h sha256 -n Tavrin -certs "$cert" -key "$key")
  [[ -n ${TAVRIN_SIGN_KEY_PASSWORD_FILE:-} ]] && signing+=(-readpass "$TAVRIN_SIGN_KEY_PASSWORD_FILE")
  [[ -n $timestamp_url ]] && signing+=(-ts "$timestamp_url")
  osslsigncode "${signing[@]}" -in "$exe" -out "$staging/tavrin.exe" >"$scratch/sign.log" 2>&1 ||
    show_log_and_fail "$scratch/sign.log" "signing failed"
}

check_signature() {
  local checking=(verify -in "$staging/tavrin.exe" -CAfile "${TAVRIN_SIGN_CA:-$cert}")
  [[ -n ${TAVRIN_SIGN_TSA_CA:-} ]] && checking+=(-TSA-CAfile "$TAVRIN_SIGN_TSA_CA")
  osslsigncode "${checking[@]}" >"$scratch/verify.log" 2>&1 ||
    show_log_and_fail "$scratch/verify.log" "the signature does not verify"
  # A time stamp that fails its check still lets the whole check succeed.
  if [[ -n $timestamp_url ]] && ! grep -q 'Timestamp Server Signature verification: ok' "$scratch/verify.log"; then
    show_log_and_fail "$scratch/verify.log" "the time stamp does not verify"
  fi
  osslsigncode remove-signature -in "$staging/tavrin.exe" -out "$scratch/unsigned.exe" >"$scratch/remove.log" 2>&1 ||
    show_log_and_fail "$scratch/remove.log" "the signature cannot be taken off again"
  cmp -s "$scratch/unsigned.exe" "$exe" || fail "signing changed more than the signature"
}

signature_note() {
  if [[ -z $cert ]]; then
    echo "This release is not signed: Windows names no publisher when it asks for administrator rights. Check its SHA-256 (above) before running it."
    return
  fi
  local subject fingerprint
  subject=$(openssl x509 -in "$cert" -noout -subject -nameopt RFC2253)
  fingerprint=$(openssl x509 -in "$cert" -noout -fingerprint -sha256)
  echo "Signed (Authenticode, SHA-256) by \`${subject#*=}\`, certificate SHA-256 fingerprint \`${fingerprint#*=}\`."
  if [[ -n $timestamp_url ]]; then
    echo "Time-stamped by $timestamp_url, so the signature stays valid after the certificate expires."
  else
    echo "Not time-stamped: the signature is valid only while the certificate is."
  fi
}

if [[ -n $cert ]]; then
  sign
  check_signature
else
  cp "$exe" "$staging/tavrin.exe"
fi
chmod 644 "$staging/tavrin.exe"
chmod 755 "$staging"
(cd "$staging" && sha256sum tavrin.exe >SHA256SUMS)
sum=$(cut -d ' ' -f 1 "$staging/SHA256SUMS")
build_sum=$(sha256sum <"$exe" | cut -d ' ' -f 1)

{
  cat <<EOF
# Tavrin $version

Runs on Windows 10 version 1607 and later, 32- and 64-bit. One file, nothing to
install; it asks for administrator rights when it starts.

| File | Size | SHA-256 |
|---|---|---|
| \`tavrin.exe\` | $(stat -c %s "$staging/tavrin.exe") bytes | \`$sum\` |

Built from commit \`$commit\`.

## Signature

$(signature_note)

## How to verify

1. The checksum. In PowerShell: \`Get-FileHash tavrin.exe -Algorithm SHA256\`
   (or \`certutil -hashfile tavrin.exe SHA256\`); on Linux, beside SHA256SUMS:
   \`sha256sum -c SHA256SUMS\`. The result must be the SHA-256 above.
EOF
  if [[ -n $cert ]]; then
    cat <<EOF
2. The signature. In PowerShell: \`Get-AuthenticodeSignature tavrin.exe\` must
   say \`Valid\`, with the signer above (or see the Digital Signatures tab of
   the file's Properties).
3. The build. On Debian 12, check out the commit and run \`scripts/release.sh\`:
   it builds the same bytes. Take the signature off this file first
   (\`osslsigncode remove-signature -in tavrin.exe -out unsigned.exe\`); what is
   left has the SHA-256 \`$build_sum\`.
EOF
  else
    cat <<EOF
2. The build. On Debian 12, check out the commit and run \`scripts/release.sh\`:
   it builds the same bytes, with the same SHA-256.
EOF
  fi
} >"$staging/RELEASE.md"

rm -rf "$dist"
mv "$staging" "$dist"
