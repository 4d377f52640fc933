#pragma once
// Unicode decimal digits (general category Nd): ０–９, Arabic-Indic, Devanagari and the rest,
// for name orders that read a run of them as a number.

#include <cstdint>

namespace morvane {

// The digit's value 0–9, or -1 when the code point is no decimal digit.
int DecimalDigitValue(std::uint32_t codePoint);

}  // namespace morvane
