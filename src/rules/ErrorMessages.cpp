#include "rules/ErrorMessages.h"

#include "host/Messages.h"

namespace morvane {
namespace {

// The formats take C strings; the facts are views.
std::string Z(std::string_view text) {
    return std::string(text);
}

std::string ForbiddenText(const ErrorFacts& f) {
    switch (f.fault) {
        case NameFault::DeviceName:
            return FormatText(msg::kForbiddenName, f.number, Z(f.name).c_str()) +
                   msg::kDeviceNameHere;
        case NameFault::TrailingDotOrSpace:
            return FormatText(msg::kForbiddenName, f.number, Z(f.name).c_str()) +
                   msg::kTrailingDotHere;
        case NameFault::None:
        case NameFault::Character:
            break;
    }
    return FormatText(msg::kForbidden, f.number, Z(f.name).c_str()) +
           FormatText(msg::kRefusedHere, Z(f.refused).c_str());
}

}  // namespace

const std::array<ErrorMessage, 7> kErrorMessages = {{
    {ErrBlank, [](const ErrorFacts& f) { return FormatText(msg::kBlankName, f.number); }},
    {ErrDuplicate,
     [](const ErrorFacts& f) { return FormatText(msg::kDuplicate, f.number, f.partner); }},
    {ErrForbidden, ForbiddenText},
    {ErrExists,
     [](const ErrorFacts& f) { return FormatText(msg::kExists, f.number, Z(f.newPath).c_str()); }},
    {ErrSwapBlocked,
     [](const ErrorFacts& f) { return FormatText(msg::kSwapTarget, f.number, Z(f.name).c_str()); }},
    {ErrRenameTest,
     [](const ErrorFacts& f) { return FormatText(msg::kRenameTestFailed, Z(f.file).c_str()); }},
    {ErrTooLong,
     [](const ErrorFacts& f) {
         return FormatText(f.nameMaxInUtf16 ? msg::kNameTooLongUnits : msg::kNameTooLong,
                           static_cast<int>(f.nameMax), f.number, Z(f.name).c_str());
     }},
}};

std::string ErrorText(ErrorBit bit, const ErrorFacts& facts) {
    for (const ErrorMessage& message : kErrorMessages) {
        if (message.bit == bit)
            return message.text(facts);
    }
    return {};
}

}  // namespace morvane
