#pragma once
// Where requests go. The hosts the system talks to live in one table, and
// QUORVANE_HOST_MAP (read once per process) can redirect any of them to a
// local server: "from=to" pairs separated by ",", from a host or "*.domain",
// to "host:port". A redirected request is plain HTTP and keeps its Host line.
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

namespace hosts {
inline constexpr std::string_view kItemPage = "item.taobao.com";
inline constexpr std::string_view kTmallItemPage = "detail.tmall.com";
inline constexpr std::string_view kLoginPage = "login.taobao.com";
inline constexpr std::string_view kStockService = "detailskip.taobao.com";
inline constexpr std::string_view kMobileData = "hws.m.taobao.com";
inline constexpr std::string_view kOpenPlatformGateway = "gw.api.taobao.com";
// Our own services.
inline constexpr std::string_view kItemDataService = "items.quorvane.net";
inline constexpr std::string_view kOpenPlatformTools = "tools.quorvane.net";
inline constexpr std::string_view kCategoryFileService = "files.quorvane.net";
inline constexpr std::string_view kCategoryDataService = "categories.quorvane.net";
// The start and help pages of the main window.
inline constexpr std::string_view kStartPages = "www.quorvane.net";
inline constexpr std::string_view kHelpPages = "help.quorvane.net";
}  // namespace hosts

struct HostMapEntry {
    std::string from;  // lower case; "*.domain" matches any host under domain
    std::string toHost;
    int toPort = 0;
};
using HostMap = std::vector<HostMapEntry>;

// Malformed pairs (no "=", no port, a port outside 1..65535) are skipped.
HostMap parseHostMap(std::string_view text);

struct RequestTarget {
    bool secure = false;
    std::string host;      // where the connection goes
    int port = 0;
    std::string hostLine;  // value of the Host line; empty when not mapped
    bool mapped = false;
};

// The first matching pair wins; unmatched requests go where they were headed.
RequestTarget routeRequest(const HostMap& map, bool secure, std::string_view host, int port);

// The process's map, from the environment on first use.
const HostMap& processHostMap();
RequestTarget routeRequest(bool secure, std::string_view host, int port);

// The address a browser view opens: an address whose host is mapped goes
// over plain HTTP to the map's target, keeping its path; any other stays.
std::string routedBrowserAddress(const HostMap& map, std::string_view address);
std::string routedBrowserAddress(std::string_view address);

}  // namespace quorvane
