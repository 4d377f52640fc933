#include "platform/NameCharacters.h"

#include <array>

namespace morvane {
namespace {

// Bit 1: refused everywhere; bit 2: refused where Windows rules apply.
constexpr std::uint8_t kEverywhere = 1;
constexpr std::uint8_t kWindows = 2;

constexpr std::array<std::uint8_t, 256> MakeTable() {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 0x20; ++c)
        table[static_cast<std::size_t>(c)] = kWindows;  // control characters
    for (const char c : std::string_view("\\:*?\"<>|"))
        table[static_cast<unsigned char>(c)] = kWindows;
    for (const char c : std::string_view("/\0\r\n", 4))
        table[static_cast<unsigned char>(c)] = kEverywhere | kWindows;
    return table;
}

constexpr std::array<std::uint8_t, 256> kTable = MakeTable();

bool HasAny(std::string_view name, std::uint8_t mask) {
    for (const char c : name) {
        if ((kTable[static_cast<unsigned char>(c)] & mask) != 0)
            return true;
    }
    return false;
}

bool SameLetters(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != upper[i])
            return false;
    }
    return true;
}

// Windows takes these for devices in any letter case, whatever extension follows, and with
// blanks before the extension.
bool IsDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    if (stem.size() < 3 || stem.size() > 5)
        return false;
    for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
        if (SameLetters(stem, device))
            return true;
    }
    if (!SameLetters(stem.substr(0, 3), "COM") && !SameLetters(stem.substr(0, 3), "LPT"))
        return false;
    const std::string_view number = stem.substr(3);
    // 1 to 9, or the superscripts one to three.
    return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

}  // namespace

NameCharacters NameCharactersOfType(std::uint32_t fileSystemType) {
    switch (fileSystemType) {
        case 0x00004D44u:  // FAT (vfat, msdos)
        case 0x2011BAB0u:  // exFAT
        case 0x5346544Eu:  // NTFS (the old driver)
        case 0x7366746Eu:  // NTFS (ntfs3)
        case 0xFF534D42u:  // CIFS
        case 0xFE534D42u:  // SMB2
        case 0x0000517Bu:  // SMB
            return NameCharacters::Windows;
        default:
            return NameCharacters::Posix;
    }
}

NameFault FaultIn(std::string_view name, NameCharacters rules) {
    if (HasForbiddenCharacter(name, rules))
        return NameFault::Character;
    if (rules != NameCharacters::Windows || name.empty())
        return NameFault::None;
    if (IsDeviceName(name))
        return NameFault::DeviceName;
    if (name.back() == '.' || name.back() == ' ')
        return NameFault::TrailingDotOrSpace;
    return NameFault::None;
}

bool HasForbiddenCharacter(std::string_view name, NameCharacters rules) {
    return HasAny(name, rules == NameCharacters::Windows ? kWindows : kEverywhere);
}

bool MayBeForbidden(std::string_view name) {
    return FaultIn(name, NameCharacters::Windows) != NameFault::None;
}

std::string_view RefusedCharactersText(NameCharacters rules) {
    return rules == NameCharacters::Windows ? "\\ / : * ? \" < > | と制御文字" : "/ と NUL と改行";
}

}  // namespace morvane
