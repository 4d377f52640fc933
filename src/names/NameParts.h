#pragma once
// Code point positions in UTF-8 text, and the valid UTF-8 runs of a name. A file name is
// bytes: where it is not UTF-8, the steps work on the runs that are and keep the other bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane {

std::size_t CodePointCount(std::string_view text);
// Byte offset of the code point at `index`, clamped to the end; never inside a sequence.
std::size_t ByteOffsetOf(std::string_view text, std::size_t index);

// fn(std::string_view run) -> std::string for each longest run of valid UTF-8; the bytes
// between runs are copied through unchanged, so no conversion can replace them.
template <class Fn>
std::string OnValidRuns(std::string_view text, Fn&& fn);

namespace detail {
// Length of the valid UTF-8 run starting at i (0 when text[i] starts no valid character).
std::size_t ValidRunLength(std::string_view text, std::size_t i);
}  // namespace detail

template <class Fn>
std::string OnValidRuns(std::string_view text, Fn&& fn) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t run = detail::ValidRunLength(text, i);
        if (run == 0) {
            out += text[i++];
            continue;
        }
        out += fn(text.substr(i, run));
        i += run;
    }
    return out;
}

}  // namespace morvane
