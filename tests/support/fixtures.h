#pragma once
#include <string>
#include <vector>

namespace quorvane::test {

// Path of a file in tests/fixtures, as the program under Wine sees it.
std::string fixturePath(const std::string& name);

// The whole file as bytes; a failed test assertion when it cannot be read.
std::vector<unsigned char> readFixture(const std::string& name);
// The same bytes in a string.
std::string fixtureText(const std::string& name);

}  // namespace quorvane::test
