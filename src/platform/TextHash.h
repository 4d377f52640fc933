#pragma once
// A hash for containers keyed by std::string that are looked up with a string_view, so a
// lookup builds no string.

#include <cstddef>
#include <functional>
#include <string_view>

namespace morvane {

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

}  // namespace morvane
