#pragma once
// Saving and loading list files with the registration and removal they use.

#include "core/RegistrationFixture.h"
#include "ops/listfiles/ListFile.h"

namespace morvane::test {

struct ListFileFixture : RegistrationFixture {
    ListFile listFile{list, validation, fs,        log,          host,
                      host, busy,       itemBreak, registration, removal};
};

}  // namespace morvane::test
