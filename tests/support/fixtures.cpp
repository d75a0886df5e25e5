#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace quorvane::test {

std::string fixturePath(const std::string& name) { return std::string(QUORVANE_FIXTURE_DIR) + "/" + name; }

std::vector<unsigned char> readFixture(const std::string& name) {
    std::ifstream file(fixturePath(name), std::ios::binary);
    EXPECT_TRUE(file.good()) << "cannot read fixture " << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string fixtureText(const std::string& name) {
    const std::vector<unsigned char> bytes = readFixture(name);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace quorvane::test
