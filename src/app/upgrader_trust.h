// Whether a downloaded upgrader may be started. It arrives over plain HTTP and may be
// started elevated, so only a program whose Authenticode signature the system trusts
// is run; anything else could have been swapped on the way.
#pragma once

#include <windows.h>

#include <string>

// Verifies the file's Authenticode signature with WinVerifyTrust (generic verify v2, no
// UI, no revocation checks anywhere in the chain, so an offline machine can upgrade).
// When requiredSigner is not empty, the signing (leaf) certificate's subject name must
// also equal it. ERROR_SUCCESS when trusted, else WinVerifyTrust's code (for example
// TRUST_E_NOSIGNATURE, TRUST_E_BAD_DIGEST, CERT_E_UNTRUSTEDROOT) or CERT_E_CN_NO_MATCH
// for another signer. file, when valid, is an open read handle of the same file.
// Any thread.
LONG VerifyUpgraderSignature(const std::wstring& path, HANDLE file,
                             const std::wstring& requiredSigner);
