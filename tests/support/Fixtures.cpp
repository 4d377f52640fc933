#include "support/Fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace morvane::test {

std::string FixturePath(const std::string& relative) {
    return std::string(MORVANE_TEST_FIXTURES) + "/" + relative;
}

std::string FixtureText(const std::string& relative) {
    const std::string path = FixturePath(relative);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "missing test fixture: %s\n", path.c_str());
        std::abort();
    }
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace morvane::test
