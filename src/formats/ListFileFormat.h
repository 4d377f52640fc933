#pragma once
// Layout of a list file (.mvf) and the little-endian helpers that read and write it.
//
//   header (20 bytes)
//     0  magic            "MVF"
//     3  version          uint32, written 0x00010000; a reader accepts major 0 and 1
//     7  file length      uint64, the whole file, header included
//    15  record count     int32, one record per row; 0 or less means none
//    19  fields/record    uint8, written 2
//   records, each of fields/record fields:
//     tag uint8, length uint32, then length bytes of text (no terminator)
//
// Texts are in the locale's character set. Tag 0 is the row's current path, tag 1 its new
// name; a reader skips other tags, and the last field of a tag wins.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::listfile {

inline constexpr std::string_view kMagic = "MVF";
inline constexpr std::uint32_t kVersion = 0x00010000;
// Highest accepted value of the version's upper 16 bits.
inline constexpr std::uint32_t kMaxMajorVersion = 1;

inline constexpr std::size_t kVersionOffset = 3;
inline constexpr std::size_t kLengthOffset = 7;
inline constexpr std::size_t kCountOffset = 15;
inline constexpr std::size_t kFieldsOffset = 19;
inline constexpr std::size_t kHeaderSize = 20;

inline constexpr std::uint8_t kFieldsPerRecord = 2;
// Tag byte + 32-bit length.
inline constexpr std::size_t kFieldHeaderSize = 5;

enum Tag : std::uint8_t {
    kTagCurrentPath = 0,
    kTagNewName = 1,
};

inline void PutFixed8(std::string* dst, std::uint8_t value) {
    dst->push_back(static_cast<char>(value));
}

inline void PutFixed32(std::string* dst, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        dst->push_back(static_cast<char>((value >> shift) & 0xFF));
}

inline void EncodeFixed64(char* dst, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        dst[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void PutFixed64(std::string* dst, std::uint64_t value) {
    char buffer[8];
    EncodeFixed64(buffer, value);
    dst->append(buffer, sizeof buffer);
}

// The callers check that the bytes are there.
inline std::uint32_t DecodeFixed32(const char* src) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(src[i]);
    return value;
}

inline std::uint64_t DecodeFixed64(const char* src) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(src[i]);
    return value;
}

}  // namespace morvane::listfile
