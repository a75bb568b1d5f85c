#include "net/md5.h"

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <climits>

namespace {

class CCryptProvider {
 public:
  CCryptProvider() {
    // A verify-only context needs no key container, so it works for any user and
    // leaves nothing behind in the profile.
    if (!CryptAcquireContextW(&m_hProv, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
      m_hProv = 0;
  }
  ~CCryptProvider() {
    if (m_hProv != 0) CryptReleaseContext(m_hProv, 0);
  }
  CCryptProvider(const CCryptProvider&) = delete;
  CCryptProvider& operator=(const CCryptProvider&) = delete;
  HCRYPTPROV Get() const { return m_hProv; }

 private:
  HCRYPTPROV m_hProv = 0;
};

class CCryptHash {
 public:
  explicit CCryptHash(HCRYPTPROV prov) {
    if (prov == 0 || !CryptCreateHash(prov, CALG_MD5, 0, 0, &m_hHash)) m_hHash = 0;
  }
  ~CCryptHash() {
    if (m_hHash != 0) CryptDestroyHash(m_hHash);
  }
  CCryptHash(const CCryptHash&) = delete;
  CCryptHash& operator=(const CCryptHash&) = delete;
  HCRYPTHASH Get() const { return m_hHash; }

 private:
  HCRYPTHASH m_hHash = 0;
};

}  // namespace

bool ComputeMd5(const void* data, size_t size, unsigned char (&digest)[kMd5DigestBytes]) {
  if (data == nullptr && size != 0) return false;
  const CCryptProvider provider;
  const CCryptHash hash(provider.Get());
  if (hash.Get() == 0) return false;
  // CryptHashData takes a DWORD length; feed larger inputs in slices.
  const BYTE* bytes = static_cast<const BYTE*>(data);
  while (size > 0) {
    const DWORD slice = static_cast<DWORD>(std::min<size_t>(size, UINT_MAX / 2));
    if (!CryptHashData(hash.Get(), bytes, slice, 0)) return false;
    bytes += slice;
    size -= slice;
  }
  BYTE value[kMd5DigestBytes] = {};
  DWORD length = sizeof value;
  if (!CryptGetHashParam(hash.Get(), HP_HASHVAL, value, &length, 0) || length != sizeof value)
    return false;
  std::copy(value, value + kMd5DigestBytes, digest);
  return true;
}
