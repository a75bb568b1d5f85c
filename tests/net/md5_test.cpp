#include "net/md5.h"

#include <gtest/gtest.h>

#include <string>

#include "base/strings.h"

TEST(Md5, Rfc1321TestSuite) {
  const struct {
    std::string input;
    std::wstring digest;
  } vectors[] = {
      {"", L"d41d8cd98f00b204e9800998ecf8427e"},
      {"a", L"0cc175b9c0f1b6a831c399e269772661"},
      {"abc", L"900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", L"f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", L"c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       L"d174ab98d277d9f5a5611c2c9f419d9f"},
      {[] {
         std::string eightTimes;
         for (int i = 0; i < 8; ++i) eightTimes += "1234567890";
         return eightTimes;
       }(),
       L"57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& v : vectors) {
    unsigned char digest[kMd5DigestBytes] = {};
    ASSERT_TRUE(ComputeMd5(v.input.data(), v.input.size(), digest)) << v.input;
    EXPECT_EQ(BytesToHex(digest), v.digest) << v.input;
  }
}

TEST(Md5, NullDataWithLengthIsRefused) {
  unsigned char digest[kMd5DigestBytes] = {7};
  EXPECT_FALSE(ComputeMd5(nullptr, 3, digest));
  EXPECT_EQ(digest[0], 7);
  ASSERT_TRUE(ComputeMd5(nullptr, 0, digest));
  EXPECT_EQ(BytesToHex(digest), L"d41d8cd98f00b204e9800998ecf8427e");
}
