// Authenticode checks against upgraders signed at build time by a test authority that
// only this test prefix trusts (see upgrade_test_support.cpp).
#include "app/upgrader_trust.h"

#include <wincrypt.h>

#include <gtest/gtest.h>

#include "upgrade_test_support.h"

TEST(UpgraderTrust, OnlyTrustedUnchangedSignaturesOfTheSigner) {
  const std::wstring signer = OVRIN_TEST_SIGNER;
  const struct {
    const wchar_t* file;
    std::wstring required;
    LONG status;
  } cases[] = {
      {L"signed.exe", signer, ERROR_SUCCESS},
      {L"signed.exe", L"", ERROR_SUCCESS},
      {L"other_signer.exe", L"", ERROR_SUCCESS},
      {L"other_signer.exe", signer, static_cast<LONG>(CERT_E_CN_NO_MATCH)},
      {L"signed.exe", signer + L" ", static_cast<LONG>(CERT_E_CN_NO_MATCH)},
      {L"untrusted_authority.exe", signer, static_cast<LONG>(CERT_E_UNTRUSTEDROOT)},
      {L"untrusted_authority.exe", L"", static_cast<LONG>(CERT_E_UNTRUSTEDROOT)},
      {L"unsigned.exe", L"", static_cast<LONG>(TRUST_E_NOSIGNATURE)},
      {L"tampered.exe", L"", static_cast<LONG>(TRUST_E_BAD_DIGEST)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(VerifyUpgraderSignature(SigningFile(c.file), INVALID_HANDLE_VALUE, c.required),
              c.status)
        << std::hex << c.file;
}
