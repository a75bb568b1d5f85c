#include "net/disk_serial_decode.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kSerialFirstWord = 10;
constexpr size_t kSerialWords = 10;
constexpr size_t kModelFirstWord = 27;
constexpr size_t kDescriptorSerialOffsetField = 24;
constexpr size_t kMediaSerialStart = 16;
constexpr size_t kScsiIdentifyStart = 28 + 16;

// Drives hand out text in the ANSI code page's bytes; the probe widens them the way a
// signed char converts, which is what keeps identifiers stable across versions.
wchar_t SignExtend(unsigned char byte) {
  return static_cast<wchar_t>(static_cast<std::int16_t>(static_cast<std::int8_t>(byte)));
}

int HexValue(char c) {
  if (c >= '1' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

// Length of the zero-ended string at text, never looking past limit bytes.
size_t BoundedLength(const unsigned char* text, size_t limit) {
  const void* end = std::memchr(text, 0, limit);
  return end == nullptr ? limit
                        : static_cast<size_t>(static_cast<const unsigned char*>(end) - text);
}

}  // namespace

std::wstring SerialFromIdentifyData(const unsigned char* identify, size_t size) {
  std::wstring serial;
  if (identify == nullptr || size < 2 * (kSerialFirstWord + kSerialWords)) return serial;
  for (size_t word = kSerialFirstWord; word < kSerialFirstWord + kSerialWords; ++word) {
    const unsigned char high = identify[2 * word + 1];
    const unsigned char low = identify[2 * word];
    for (const unsigned char byte : {high, low}) {
      if (byte == 0) return serial;
      if (byte != ' ') serial += SignExtend(byte);
    }
  }
  return serial;
}

std::wstring DecodeHexPairSerial(const char* text, size_t length) {
  std::wstring serial;
  if (text == nullptr) return serial;
  auto at = [&](size_t i) { return i < length ? text[i] : '\0'; };
  auto pair = [&](size_t i) { return 16 * HexValue(at(i)) + HexValue(at(i + 1)); };
  for (size_t group = 0; group < (length + 3) / 4; ++group) {
    for (const int value : {pair(4 * group + 2), pair(4 * group)})
      if (value > 0 && value != 0x20) serial += SignExtend(static_cast<unsigned char>(value));
  }
  return serial;
}

std::wstring SerialFromStorageDescriptor(const unsigned char* answer, size_t size) {
  if (answer == nullptr || size < kDescriptorSerialOffsetField + 4) return std::wstring();
  std::uint32_t offset = 0;
  std::memcpy(&offset, answer + kDescriptorSerialOffsetField, sizeof offset);
  if (offset == 0 || offset >= size) return std::wstring();
  const unsigned char* text = answer + offset;
  return DecodeHexPairSerial(reinterpret_cast<const char*>(text),
                             BoundedLength(text, size - offset));
}

std::wstring SerialFromMediaSerialData(const unsigned char* answer, size_t size) {
  std::wstring serial;
  if (answer == nullptr || size <= kMediaSerialStart) return serial;
  const unsigned char* text = answer + kMediaSerialStart;
  const size_t length = BoundedLength(text, size - kMediaSerialStart);
  for (size_t i = 0; i < length; i += 4)
    if (text[i] != ' ') serial += SignExtend(text[i]);
  return serial;
}

bool SerialFromScsiIdentifyReply(const unsigned char* answer, size_t size, std::wstring& serial) {
  if (answer == nullptr || size < kScsiIdentifyStart + kIdentifyDataBytes) return false;
  const unsigned char* identify = answer + kScsiIdentifyStart;
  if (identify[2 * kModelFirstWord] == 0) return false;
  serial = SerialFromIdentifyData(identify, kIdentifyDataBytes);
  return true;
}

bool IsUsableSerial(const std::wstring& serial) {
  if (serial.empty()) return false;
  const wchar_t c = serial[0];
  return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}
