#include "net/host_map.h"

#include "net/url.h"
#include "text/search.h"

#include <windows.h>

namespace quorvane {
namespace {

int portNumber(std::string_view text) {
    if (text.empty() || text.size() > 5) return 0;
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        port = port * 10 + (c - '0');
    }
    return port <= 65535 ? port : 0;
}

bool hostMatches(const std::string& from, const std::string& host) {
    if (from.starts_with("*.")) {
        const std::string_view domain = std::string_view(from).substr(1);  // ".domain"
        return host.size() > domain.size() && host.ends_with(domain);
    }
    return from == host;
}

}  // namespace

HostMap parseHostMap(std::string_view text) {
    HostMap map;
    for (const std::string& pair : splitText(text, ",")) {
        const auto equals = pair.find('=');
        if (equals == std::string::npos) continue;
        const std::string from = lowerText(trimText(pair.substr(0, equals)));
        const std::string to = trimText(pair.substr(equals + 1));
        const auto colon = to.rfind(':');
        if (from.empty() || from == "*." || colon == std::string::npos || colon == 0) continue;
        const int port = portNumber(std::string_view(to).substr(colon + 1));
        if (port == 0) continue;
        map.push_back({from, to.substr(0, colon), port});
    }
    return map;
}

RequestTarget routeRequest(const HostMap& map, bool secure, std::string_view host, int port) {
    const std::string lowerHost = lowerText(host);
    for (const HostMapEntry& entry : map) {
        if (!hostMatches(entry.from, lowerHost)) continue;
        const int defaultPort = secure ? 443 : 80;
        std::string hostLine(host);
        if (port != defaultPort) hostLine.append(":").append(std::to_string(port));
        return {false, entry.toHost, entry.toPort, hostLine, true};
    }
    return {secure, std::string(host), port, {}, false};
}

const HostMap& processHostMap() {
    // Never destroyed: request threads abandoned at a time-out may still be
    // routing while the process runs its exit-time destructors.
    static const HostMap& map = *new HostMap([] {
        const DWORD size = GetEnvironmentVariableA("QUORVANE_HOST_MAP", nullptr, 0);
        if (size == 0) return HostMap{};
        std::string buffer(size, '\0');
        const DWORD length = GetEnvironmentVariableA("QUORVANE_HOST_MAP", buffer.data(), size);
        if (length == 0 || length >= size) return HostMap{};
        buffer.resize(length);
        return parseHostMap(buffer);
    }());
    return map;
}

RequestTarget routeRequest(bool secure, std::string_view host, int port) {
    return routeRequest(processHostMap(), secure, host, port);
}

std::string routedBrowserAddress(const HostMap& map, std::string_view address) {
    const RequestTarget target =
        routeRequest(map, isHttpsUrl(address), stripHttpsScheme(address), portOfUrlOrDefault(address));
    if (!target.mapped) return std::string(address);
    return "http://" + target.host + ":" + std::to_string(target.port) + pathOfHttpsUrl(address);
}

std::string routedBrowserAddress(std::string_view address) { return routedBrowserAddress(processHostMap(), address); }

}  // namespace quorvane
