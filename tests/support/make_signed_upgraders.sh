#!/usr/bin/env bash
# make_signed_upgraders.sh PROGRAM OUTDIR SIGNER
# Makes the upgraders the upgrade tests download: PROGRAM as it is (unsigned), signed by
# SIGNER, signed by someone else, signed by SIGNER but changed after signing, and signed
# by a SIGNER certificate from an authority nobody trusts. The first signers' certificates
# come from a throwaway test authority whose certificate (ca.cer, DER) the tests trust in
# their own Wine prefix only.
set -euo pipefail
program=$(realpath "$1") out=$2 signer=$3
rm -rf "$out" && mkdir -p "$out" && cd "$out"
days=3650
authority() {  # authority NAME CN
  openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days $days -subj "/CN=$2" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -keyout "$1.key" -out "$1.pem" 2>/dev/null
}
authority ca "KeltoOvrin Test Authority"
authority stranger_ca "Unknown Authority"
openssl x509 -in ca.pem -outform DER -out ca.cer
leaf() {  # leaf NAME CN [AUTHORITY]
  local ca=${3:-ca}
  openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=$2" -keyout "$1.key" -out "$1.csr" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$1.ext"
  # The authority signs the leaf with SHA-1: Wine 8's Authenticode policy reads the
  # leaf's signature hash into a 20-byte buffer and, for a longer hash, skips the chain
  # check altogether, so an untrusted SHA-256 leaf would pass there.
  openssl x509 -req -in "$1.csr" -CA "$ca.pem" -CAkey "$ca.key" -CAcreateserial -sha1 -days $days \
    -extfile "$1.ext" -out "$1.pem" 2>/dev/null
  cat "$1.pem" "$ca.pem" >"$1.chain.pem"
}
leaf signer "$signer"
leaf other "Somebody Else"
leaf stranger "$signer" stranger_ca
sign() {  # sign NAME OUTPUT
  osslsigncode sign -certs "$1.chain.pem" -key "$1.key" -h sha256 -n KeltoOvrinUpgrade \
    -in "$program" -out "$2" >/dev/null
}
cp "$program" unsigned.exe
sign signer signed.exe
sign other other_signer.exe
sign stranger untrusted_authority.exe
# One byte of the code changed after signing: the signature no longer matches the file.
cp signed.exe tampered.exe
offset=$(( $(stat -c %s tampered.exe) / 4 ))
printf '\x5a' | dd of=tampered.exe bs=1 seek=$offset conv=notrunc status=none
rm -f ./*.key ./*.csr ./*.ext ./*.srl
