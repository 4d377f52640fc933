#pragma once
// The presets file: named lists of name steps as an INI-style text a user can read and diff.
//
//   [preset]
//   name = "写真を日付で"
//   [step]
//   kind = replace
//   find = "IMG_"
//   regex = no
//
// Each [preset] starts a preset, each [step] adds a step to the preset above it. Texts are
// quoted, with \" \\ \t \n escaped; a key left out keeps the step's default. Anything else
// (an unknown key, kind or value, a line that is no section or key) makes the file damaged.

#include <string>
#include <string_view>
#include <vector>

#include "names/NameStep.h"

namespace morvane {

struct NamePreset {
    std::string name;
    std::vector<NameStep> steps;
};

std::string WritePresets(const std::vector<NamePreset>& presets);
// One preset's section: its [preset] line, its name and its steps.
std::string WritePreset(const NamePreset& preset);

// Where a preset's section lies in the text: from its [preset] line to the end of its last
// key line, so comments and blank lines after it are no part of it.
struct PresetSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// False for a damaged text, with *error saying which line and why; *presets is then empty.
// *spans (may be null) receives each preset's span, in the same order.
bool ReadPresets(std::string_view text, std::vector<NamePreset>* presets, std::string* error,
                 std::vector<PresetSpan>* spans = nullptr);

}  // namespace morvane
