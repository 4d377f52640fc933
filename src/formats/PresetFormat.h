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

// False for a damaged text, with *error saying which line and why; *presets is then empty.
bool ReadPresets(std::string_view text, std::vector<NamePreset>* presets, std::string* error);

}  // namespace morvane
