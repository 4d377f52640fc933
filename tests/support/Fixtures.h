#pragma once
// Files the tests start from, kept under tests/fixtures/ so that a text several tests share
// is written once.

#include <string>

namespace morvane::test {

// The full path of tests/fixtures/<relative>.
std::string FixturePath(const std::string& relative);
// The bytes of tests/fixtures/<relative>; a missing fixture ends the test run with its name,
// so a test never passes on an empty text.
std::string FixtureText(const std::string& relative);

}  // namespace morvane::test
