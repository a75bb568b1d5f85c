// Decoding of the answers disks give to the serial-number probes of the machine
// identifier. Pure functions over the raw output buffers: no Win32 calls, and every
// offset read from a device answer is checked against the buffer it came in, so a
// malformed answer yields an empty serial rather than a read past the buffer.
#pragma once

#include <cstddef>
#include <string>

// Size of ATA IDENTIFY DEVICE data: 256 little-endian 16-bit words.
constexpr size_t kIdentifyDataBytes = 512;

// Serial text from words 10 to 19 of identify data: per word the high byte, then the
// low byte; each byte widened by sign extension (0x80..0xFF -> 0xFF80..0xFFFF); every
// space dropped; a zero byte ends the text. Empty when size is too small for word 19.
std::wstring SerialFromIdentifyData(const unsigned char* identify, size_t size);

// Reads text (length bytes) in groups of four, past the end counting as 0; per group the
// pair at offsets 2-3, then the pair at 0-1, each pair 16*hi + lo with 1-9, A-F and a-f
// worth their value and every other character 0. A value that is neither 0 nor 0x20
// becomes one sign-extended character. Undoes hex text of byte-swapped identify words.
std::wstring DecodeHexPairSerial(const char* text, size_t length);

// The serial of an IOCTL_STORAGE_QUERY_PROPERTY answer (a STORAGE_DEVICE_DESCRIPTOR of
// size bytes): the zero-ended string at the serial-number offset (bytes 24 to 27),
// hex-pair decoded. Empty when the offset is 0 or lies outside the answer.
std::wstring SerialFromStorageDescriptor(const unsigned char* answer, size_t size);

// The serial of an IOCTL_STORAGE_GET_MEDIA_SERIAL_NUMBER answer: of the zero-ended byte
// string 16 bytes in, every fourth byte (0, 4, 8 ...), spaces dropped, sign-extended.
std::wstring SerialFromMediaSerialData(const unsigned char* answer, size_t size);

// The serial of an IOCTL_SCSI_MINIPORT identify answer: identify data 44 bytes in (after
// the SRB_IO_CONTROL and SENDCMDOUTPARAMS headers). False, serial untouched, when the
// answer is too short or the model number's first byte (identify word 27) is 0, which is
// how an absent target answers.
bool SerialFromScsiIdentifyReply(const unsigned char* answer, size_t size, std::wstring& serial);

// Whether a decoded serial is worth keeping: its first character is an ASCII letter or
// digit (the storage methods yield noise for disks that carry no serial).
bool IsUsableSerial(const std::wstring& serial);
