#include "text/rc4.h"

#include <array>
#include <utility>

namespace quorvane {

Bytes rc4(std::string_view key, std::string_view data) {
    if (key.empty()) key = std::string_view("\0", 1);
    std::array<unsigned char, 256> state;
    for (int i = 0; i < 256; ++i) state[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + state[i] + static_cast<unsigned char>(key[i % key.size()])) & 0xFF;
        std::swap(state[i], state[j]);
    }
    Bytes output;
    output.reserve(data.size());
    int i = 0;
    int j = 0;
    for (char d : data) {
        i = (i + 1) & 0xFF;
        j = (j + state[i]) & 0xFF;
        std::swap(state[i], state[j]);
        output.push_back(static_cast<unsigned char>(d) ^ state[(state[i] + state[j]) & 0xFF]);
    }
    return output;
}

}  // namespace quorvane
