#pragma once
// One message for each error bit of a row. The log says it when a check finds the error, and
// the row's tooltip says it again, so both read it from here.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/FileEntry.h"
#include "platform/NameCharacters.h"

namespace morvane {

// What the messages put in their blanks. Each message reads only its own fields.
struct ErrorFacts {
    int number = 0;               // the row, as the message names it
    std::string_view name;        // the name quoted (for a text file's line, its new path)
    std::string_view newPath;     // ErrExists: the path a file already takes
    std::string_view file;        // ErrRenameTest: the row's file
    int partner = 0;              // ErrDuplicate: the second row named
    std::size_t nameMax = 0;      // ErrTooLong: the longest name the folder takes
    bool nameMaxInUtf16 = false;  // ErrTooLong: nameMax counts UTF-16 units, not bytes
    std::string_view refused;     // ErrForbidden: what the folder refuses, as the log shows it
    NameFault fault = NameFault::Character;  // ErrForbidden: what is wrong with the name
};

struct ErrorMessage {
    ErrorBit bit;
    std::string (*text)(const ErrorFacts& facts);
};

// Every error bit once, in bit order: the order of a row's tooltip.
extern const std::array<ErrorMessage, 7> kErrorMessages;

// The message of one error bit; empty for a value that is not one bit.
std::string ErrorText(ErrorBit bit, const ErrorFacts& facts);

}  // namespace morvane
