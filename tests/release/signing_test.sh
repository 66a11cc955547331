#!/usr/bin/env bash
# Packs a built tavrin.exe as a release: unsigned, signed with a throw-away
# certificate made here, and time-stamped by a local service; and checks that
# every faulty signing set-up stops the release instead of shipping it.
#   signing_test.sh PACKAGE_SCRIPT EXE VERSION
set -uo pipefail

package=$1 exe=$2 version=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
service=
trap '[[ -n $service ]] && kill "$service"; rm -rf "$work"' EXIT
# A maintainer's own signing set-up must not leak into the cases.
unset "${!TAVRIN_SIGN_@}"

make_certificate() {  # name subject extended-key-usage
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$2" \
    -addext "extendedKeyUsage=$3" -addext "keyUsage=critical,digitalSignature" \
    -keyout "$work/$1.key" -out "$work/$1.pem" 2>/dev/null
}
make_certificate signer "Tavrin test signer" codeSigning
make_certificate stranger "Someone else" codeSigning
make_certificate stamper "Tavrin test time stamps" critical,timeStamping
echo 'correct horse' >"$work/password"
openssl pkey -in "$work/signer.key" -aes256 -passout "file:$work/password" -out "$work/signer-locked.key"

python3 "$here/timestamp_service.py" "$work/stamper.pem" "$work/stamper.key" "$work" >"$work/port" 2>&1 &
service=$!
for _ in $(seq 100); do
  [[ -s $work/port ]] && break
  sleep 0.05
done
stamp_url=http://127.0.0.1:$(head -n 1 "$work/port")
closed_url=http://127.0.0.1:$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
signer="TAVRIN_SIGN_CERT=$work/signer.pem TAVRIN_SIGN_KEY=$work/signer.key"

# name | signing environment | the release it must give (unsigned, signed,
# stamped), or the complaint it must stop with
cases=(
  "no certificate||unsigned"
  "certificate and key|$signer|signed"
  "key with a password|TAVRIN_SIGN_CERT=$work/signer.pem TAVRIN_SIGN_KEY=$work/signer-locked.key TAVRIN_SIGN_KEY_PASSWORD_FILE=$work/password|signed"
  "time stamp|$signer TAVRIN_SIGN_TIMESTAMP_URL=$stamp_url TAVRIN_SIGN_TSA_CA=$work/stamper.pem|stamped"
  "certificate without its key|TAVRIN_SIGN_CERT=$work/signer.pem|needs both"
  "time-stamp service without a certificate|TAVRIN_SIGN_TIMESTAMP_URL=$stamp_url|needs both"
  "key of another certificate|TAVRIN_SIGN_CERT=$work/signer.pem TAVRIN_SIGN_KEY=$work/stranger.key|signing failed"
  "nothing answers for time stamps|$signer TAVRIN_SIGN_TIMESTAMP_URL=$closed_url|signing failed"
  "signer outside the trusted root|$signer TAVRIN_SIGN_CA=$work/stranger.pem|signature does not verify"
  "time stamp outside the trusted root|$signer TAVRIN_SIGN_TIMESTAMP_URL=$stamp_url TAVRIN_SIGN_TSA_CA=$work/stranger.pem|time stamp does not verify"
)

sha256() { sha256sum <"$1" | cut -d ' ' -f 1; }

# Prints what is wrong with the release in DIST, nothing when it is right.
release_faults() {  # dist kind
  local dist=$1 kind=$2 notes=$1/RELEASE.md
  (cd "$dist" && sha256sum --quiet -c SHA256SUMS >/dev/null 2>&1) || echo "SHA256SUMS does not match"
  grep -qx "# Tavrin $version" "$notes" || echo "RELEASE.md does not name version $version"
  grep -qF "$(sha256 "$dist/tavrin.exe")" "$notes" || echo "RELEASE.md lacks the file's SHA-256"
  if [[ $kind == unsigned ]]; then
    cmp -s "$dist/tavrin.exe" "$exe" || echo "the unsigned file is not the build"
    grep -q 'not signed' "$notes" || echo "RELEASE.md does not say it is unsigned"
    return
  fi
  local checking=(verify -in "$dist/tavrin.exe" -CAfile "$work/signer.pem" -TSA-CAfile "$work/stamper.pem")
  osslsigncode "${checking[@]}" >"$work/verify.log" 2>&1 || echo "the signature does not verify"
  local found=signed
  grep -q 'Timestamp Server Signature verification: ok' "$work/verify.log" && found=stamped
  [[ $found == "$kind" ]] || echo "expected a $kind release, found a $found one"
  osslsigncode remove-signature -in "$dist/tavrin.exe" -out "$work/unsigned.exe" >/dev/null 2>&1
  cmp -s "$work/unsigned.exe" "$exe" || echo "without its signature the file is not the build"
  grep -qF "$(sha256 "$exe")" "$notes" || echo "RELEASE.md lacks the build's SHA-256"
  local fingerprint
  fingerprint=$(openssl x509 -in "$work/signer.pem" -noout -fingerprint -sha256)
  grep -qF "${fingerprint#*=}" "$notes" || echo "RELEASE.md lacks the signer's fingerprint"
}

passed=0 failed=0
for i in "${!cases[@]}"; do
  IFS='|' read -r name environment expected <<<"${cases[i]}"
  dist=$work/dist-$i
  # shellcheck disable=SC2086 # the environment is words of NAME=path
  env $environment "$package" "$exe" 0123abcd "$dist" >"$work/out.log" 2>&1
  status=$?
  case $expected in
    unsigned | signed | stamped)
      if ((status != 0)); then
        faults="the release failed: $(tail -n 3 "$work/out.log")"
      else
        faults=$(release_faults "$dist" "$expected")
      fi
      ;;
    *)
      faults=
      ((status == 0)) && faults="the release was made"
      [[ -e $dist ]] && faults+=" a release folder was left behind"
      grep -qF "$expected" "$work/out.log" || faults+=" it did not say \"$expected\": $(tail -n 3 "$work/out.log")"
      ;;
  esac
  if [[ -z $faults ]]; then
    echo "ok: $name"
    ((passed++))
  else
    echo "FAILED: $name: $faults"
    ((failed++))
  fi
done
echo "$passed passed, $failed failed"
((failed == 0))
