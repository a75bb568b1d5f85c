#include "upgrade_test_support.h"

#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace ts = testing_support;

namespace {

bool TrustTestAuthority() {
  const std::string der = ts::ReadFileBytes(SigningFile(L"ca.cer"));
  if (der.empty()) return false;
  const HCERTSTORE root =
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
  if (root == nullptr) return false;
  PCCERT_CONTEXT cert = nullptr;
  BOOL ok = CertAddEncodedCertificateToStore(
      root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
      static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, &cert);
  if (cert != nullptr) CertFreeCertificateContext(cert);
  CertCloseStore(root, 0);
  return ok != FALSE;
}

class TrustedAuthority : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(TrustTestAuthority()) << "cannot trust the test authority"; }
};

const auto* const g_trusted = ::testing::AddGlobalTestEnvironment(new TrustedAuthority);

}  // namespace

std::wstring SigningFile(const std::wstring& name) { return ts::ExeDir() + L"signing\\" + name; }
