// The loopback marketplace as a program of its own, for a demonstration run
// and timings: the first line it prints is the QUORVANE_HOST_MAP value for
// the program; it serves until its standard input ends.
//   quorvane_marketplace_server [--delay-ms N]
#include "tests/support/marketplace.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

int main(int argc, char** argv) {
    quorvane::test::Marketplace market;
    if (argc == 3 && std::string_view(argv[1]) == "--delay-ms")
        market.setAnswerDelay(std::chrono::milliseconds(std::atoi(argv[2])));
    std::printf("%s\n", market.hostMap().c_str());
    std::fflush(stdout);
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
    }
    return 0;
}
