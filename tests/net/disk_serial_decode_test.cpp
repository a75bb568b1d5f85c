#include "net/disk_serial_decode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/machine_id.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Identify data whose serial field (words 10 to 19) holds the 20 characters of text,
// stored the way drives store it: first character of each word in the high byte.
Bytes IdentifyWithSerial(const std::string& text) {
  Bytes identify(kIdentifyDataBytes, 0);
  for (size_t i = 0; i < 20 && i < text.size(); ++i)
    identify[2 * 10 + (i ^ 1)] = static_cast<unsigned char>(text[i]);
  return identify;
}

// Hex text of the characters with the two bytes of every word swapped, as some storage
// drivers report a serial.
std::string SwappedHex(const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (size_t i = 0; i < text.size(); i += 2) {
    for (const size_t j : {i + 1, i}) {
      const unsigned char c = j < text.size() ? static_cast<unsigned char>(text[j]) : ' ';
      hex += kDigits[c >> 4];
      hex += kDigits[c & 15];
    }
  }
  return hex;
}

void Put32(Bytes& buffer, size_t at, unsigned value) { std::memcpy(&buffer[at], &value, 4); }

}  // namespace

TEST(DiskSerialDecode, IdentifyWordsHighByteFirstWithoutSpaces) {
  struct Case {
    std::string field;
    std::wstring serial;
  } cases[] = {
      {"WD-WCC4N1234567890AB", L"WD-WCC4N1234567890AB"},
      {"    S1AB 23CD  4567  ", L"S1AB23CD4567"},  // leading, inner and trailing spaces
      {"                    ", L""},
      {"\xB5Z\x80\xFF        ", L"\xFFB5Z\xFF80\xFFFF"},  // bytes >= 0x80 sign-extend
      {"AB", L"AB"},                                      // a zero byte ends the text
  };
  for (const Case& c : cases) {
    const Bytes identify = IdentifyWithSerial(c.field);
    EXPECT_EQ(SerialFromIdentifyData(identify.data(), identify.size()), c.serial) << c.field;
  }
  const Bytes identify = IdentifyWithSerial("ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(SerialFromIdentifyData(identify.data(), 39), L"");  // word 19 not in the buffer
  EXPECT_EQ(SerialFromIdentifyData(identify.data(), 40), L"ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(SerialFromIdentifyData(nullptr, 512), L"");
}

TEST(DiskSerialDecode, HexPairs) {
  struct Case {
    std::string text;
    std::wstring serial;
  } cases[] = {
      {SwappedHex("  WD-WX31A4 "), L"WD-WX31A4"},  // spaces (0x20) are dropped
      {"4457", L"WD"},                             // pair 2-3 first, then pair 0-1
      {"4a6b", L"kJ"},                             // lower-case hex digits
      {"0030", L"0"},                              // "30" is the digit 0; "00" adds nothing
      {"445", L"PD"},                              // past the end counts as 0: "5\0" = 0x50
      {"G1zz", L"\x0001"},                         // other characters are worth 0: "G1" = 1
      {"1G00", L"\x0010"},                         // "1G" = 16
      {"00B5", L"\xFFB5"},                         // sign extension of values >= 0x80
      {"", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecodeHexPairSerial(c.text.data(), c.text.size()), c.serial) << c.text;
}

TEST(DiskSerialDecode, StorageDescriptorSerialAtItsOffset) {
  Bytes answer(8192, 0);
  const std::string hex = SwappedHex("Z1E2ABCD");
  std::memcpy(&answer[200], hex.data(), hex.size());
  Put32(answer, 24, 200);
  EXPECT_EQ(SerialFromStorageDescriptor(answer.data(), answer.size()), L"Z1E2ABCD");

  Put32(answer, 24, 0);  // no serial offered
  EXPECT_EQ(SerialFromStorageDescriptor(answer.data(), answer.size()), L"");
  Put32(answer, 24, 8192);  // offset outside the answer
  EXPECT_EQ(SerialFromStorageDescriptor(answer.data(), answer.size()), L"");
  Put32(answer, 24, 0xFFFFFFF0u);
  EXPECT_EQ(SerialFromStorageDescriptor(answer.data(), answer.size()), L"");
  EXPECT_EQ(SerialFromStorageDescriptor(answer.data(), 20), L"");  // no offset field

  // A string running to the end of the answer without a terminator stops there.
  Bytes shortAnswer(36, 0);
  Put32(shortAnswer, 24, 32);
  std::memcpy(&shortAnswer[32], "3132", 4);
  EXPECT_EQ(SerialFromStorageDescriptor(shortAnswer.data(), shortAnswer.size()), L"21");
}

TEST(DiskSerialDecode, MediaSerialKeepsEveryFourthByte) {
  Bytes answer(64, 0);
  const char text[] = "A...B... ...C...\xB5";
  std::memcpy(&answer[16], text, sizeof text - 1);
  EXPECT_EQ(SerialFromMediaSerialData(answer.data(), answer.size()), L"ABC\xFFB5");
  // The string ends at its first zero even when bytes follow.
  answer[16 + 5] = 0;
  EXPECT_EQ(SerialFromMediaSerialData(answer.data(), answer.size()), L"AB");
  // Unterminated up to the end of the answer.
  Bytes full(24, 'Q');
  EXPECT_EQ(SerialFromMediaSerialData(full.data(), full.size()), L"QQ");
  EXPECT_EQ(SerialFromMediaSerialData(full.data(), 16), L"");
}

TEST(DiskSerialDecode, ScsiReplyNeedsAModelNumber) {
  Bytes answer(557, 0);
  const Bytes identify = IdentifyWithSerial("  SCSI 77  ");
  std::memcpy(&answer[44], identify.data(), identify.size());
  std::wstring serial = L"untouched";
  EXPECT_FALSE(SerialFromScsiIdentifyReply(answer.data(), answer.size(), serial));
  EXPECT_EQ(serial, L"untouched");
  answer[44 + 54] = 'M';  // first byte of word 27
  ASSERT_TRUE(SerialFromScsiIdentifyReply(answer.data(), answer.size(), serial));
  EXPECT_EQ(serial, L"SCSI77");
  EXPECT_FALSE(SerialFromScsiIdentifyReply(answer.data(), 44 + 511, serial));
}

TEST(DiskSerialDecode, UsableSerialStartsWithAsciiLetterOrDigit) {
  EXPECT_TRUE(IsUsableSerial(L"0ABC"));
  EXPECT_TRUE(IsUsableSerial(L"z"));
  EXPECT_TRUE(IsUsableSerial(L"Q-"));
  EXPECT_FALSE(IsUsableSerial(L""));
  EXPECT_FALSE(IsUsableSerial(L"-Q"));
  EXPECT_FALSE(IsUsableSerial(L"\xFFB5Q"));
  EXPECT_FALSE(IsUsableSerial(L"\x00C4Q"));
}

TEST(HardwareProbe, SerialsAreCutTo63AndCappedAt32) {
  CHardwareProbe probe;
  EXPECT_TRUE(probe.AddSerial(std::wstring(70, L'S')));
  EXPECT_EQ(std::wstring(probe.serials[0]), std::wstring(63, L'S'));
  EXPECT_TRUE(probe.AddSerial(std::wstring(63, L'T')));
  EXPECT_EQ(std::wstring(probe.serials[1]), std::wstring(63, L'T'));
  for (int i = 2; i < 32; ++i) EXPECT_TRUE(probe.AddSerial(L"X" + std::to_wstring(i)));
  EXPECT_FALSE(probe.AddSerial(L"one too many"));
  EXPECT_EQ(probe.serialCount, 32);
  EXPECT_EQ(std::wstring(probe.serials[31]), L"X31");
}
