// MD5 (RFC 1321) through the system's CryptoAPI provider, so the client carries no
// digest code of its own. Callable from any thread.
#pragma once

#include <cstddef>

constexpr size_t kMd5DigestBytes = 16;

// Digest of size bytes at data into digest. False when the provider cannot be acquired
// or hashing fails; digest is left untouched then.
bool ComputeMd5(const void* data, size_t size, unsigned char (&digest)[kMd5DigestBytes]);
