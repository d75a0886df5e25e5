#pragma once
// Splitting a request address into host, path and port for a connection.
#include <string>
#include <string_view>

namespace quorvane {

// Plain-HTTP addresses: the host (lower case) after "http://", with its port
// when keepPort; the path with its query, "/" when none; the port, 80 when none.
std::string hostOfUrl(std::string_view address, bool keepPort = false);
std::string pathOfUrl(std::string_view address);
int portOfUrl(std::string_view address);

// Addresses that may be https: the host without scheme or port, the path,
// and the port given in the address or the scheme's own (443 or 80).
bool isHttpsUrl(std::string_view address);
std::string stripHttpsScheme(std::string_view address);
std::string pathOfHttpsUrl(std::string_view address);
int portOfUrlOrDefault(std::string_view address);

// The cookie domain: with lastTwoLabels "a.b.c" gives "b.c".
std::string domainOfUrl(std::string_view address, bool lastTwoLabels = false, bool keepPort = false);

}  // namespace quorvane
