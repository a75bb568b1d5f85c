#include "app/upgrader_trust.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

namespace {

std::wstring LeafSubject(HANDLE stateData) {
  CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
  if (provider == nullptr) return std::wstring();
  CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
  if (signer == nullptr) return std::wstring();
  CRYPT_PROVIDER_CERT* leaf = WTHelperGetProvCertFromChain(signer, 0);
  if (leaf == nullptr || leaf->pCert == nullptr) return std::wstring();
  wchar_t name[512] = {};
  CertGetNameStringW(leaf->pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, 512);
  return name;
}

}  // namespace

LONG VerifyUpgraderSignature(const std::wstring& path, HANDLE file,
                             const std::wstring& requiredSigner) {
  WINTRUST_FILE_INFO fileInfo = {};
  fileInfo.cbStruct = sizeof(fileInfo);
  fileInfo.pcwszFilePath = path.c_str();
  fileInfo.hFile = file != INVALID_HANDLE_VALUE ? file : nullptr;
  WINTRUST_DATA data = {};
  data.cbStruct = sizeof(data);
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &fileInfo;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  // Revocation off for the whole chain, not only for the leaf as WTD_REVOKE_NONE alone
  // would: an offline machine must still be able to upgrade.
  data.dwProvFlags = WTD_REVOCATION_CHECK_NONE;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  // INVALID_HANDLE_VALUE as the window: there is no interactive user to ask.
  const HWND noUser = static_cast<HWND>(INVALID_HANDLE_VALUE);
  LONG status = WinVerifyTrust(noUser, &action, &data);
  if (status == ERROR_SUCCESS && !requiredSigner.empty() &&
      LeafSubject(data.hWVTStateData) != requiredSigner)
    status = static_cast<LONG>(CERT_E_CN_NO_MATCH);
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(noUser, &action, &data);
  return status;
}
