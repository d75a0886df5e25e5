#include "net/url.h"

#include "text/search.h"

#include <cmath>
#include <cstdlib>

namespace quorvane {
namespace {

std::string restFrom(std::string_view text, int start) {
    return middleBytes(text, start, static_cast<int>(text.size()));
}

std::string cutBefore(std::string text, std::string_view marker) {
    const int at = findLeft(text, marker);
    return at > 0 ? leftBytes(text, at - 1) : text;
}

// From start (1-based) up to the first "/" after it, or to the end.
std::string authorityFrom(std::string_view address, int start) {
    const int slash = findLeft(address, "/", start);
    return slash > 0 ? middleBytes(address, start, slash - start) : restFrom(address, start);
}

// A port text as a number, rounded; what is not a number gives 0.
int portNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin || !(value >= 0 && value <= 65535)) return 0;
    return static_cast<int>(std::lround(value));
}

// The host is sought after the scheme, so a host such as "h" or "tp" is not
// found inside "http://" itself.
std::string pathAfterHost(std::string_view address, const std::string& host) {
    int from = 1;
    for (std::string_view scheme : {"https://", "http://"}) {
        if (address.starts_with(scheme)) {
            from = static_cast<int>(scheme.size()) + 1;
            break;
        }
    }
    const int hostAt = findLeft(address, host, from, true);
    const int slash = findLeft(address, "/", hostAt > 0 ? hostAt : from, true);
    return slash > 0 ? restFrom(address, slash) : "/";
}

}  // namespace

std::string hostOfUrl(std::string_view address, bool keepPort) {
    const int scheme = findLeft(address, "http://");
    std::string host = authorityFrom(address, scheme > 0 ? scheme + 7 : 1);
    if (!keepPort) host = cutBefore(host, ":");
    return lowerText(host);
}

std::string pathOfUrl(std::string_view address) {
    return pathAfterHost(address, hostOfUrl(address));
}

int portOfUrl(std::string_view address) {
    const std::string host = hostOfUrl(address, true);
    const int colon = findLeft(host, ":");
    return colon > 0 ? portNumber(restFrom(host, colon + 1)) : 80;
}

bool isHttpsUrl(std::string_view address) { return address.starts_with("https://"); }

std::string stripHttpsScheme(std::string_view address) {
    std::string host = replaceText(address, "https://", "");
    host = replaceText(host, "http://", "");
    host = cutBefore(host, "/");
    host = cutBefore(host, ":");
    return lowerText(host);
}

std::string pathOfHttpsUrl(std::string_view address) {
    return pathAfterHost(address, stripHttpsScheme(address));
}

int portOfUrlOrDefault(std::string_view address) {
    const bool https = isHttpsUrl(address);
    int start = 1;
    if (https) {
        start = 9;
    } else if (findLeft(leftBytes(address, 7), "http://", 1, true) == 1) {
        start = 8;
    }
    const std::string host = authorityFrom(address, start);
    const int colon = findLeft(host, ":");
    if (colon < 0) return https ? 443 : 80;
    return portNumber(restFrom(host, colon + 1));
}

std::string domainOfUrl(std::string_view address, bool lastTwoLabels, bool keepPort) {
    int start = 1;
    if (const int http = findLeft(address, "http://"); http > 0) {
        start = http + 7;
    } else if (const int https = findLeft(address, "https://"); https > 0) {
        start = https + 8;
    }
    std::string domain = authorityFrom(address, start);
    if (!keepPort) domain = cutBefore(domain, ":");
    domain = lowerText(domain);
    if (lastTwoLabels) {
        const auto last = domain.rfind('.');
        if (last != std::string::npos && last > 0) {
            const auto before = domain.rfind('.', last - 1);
            if (before != std::string::npos) domain = domain.substr(before + 1);
        }
    }
    return domain;
}

}  // namespace quorvane
