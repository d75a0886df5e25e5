#pragma once
// What the system cookie store holds for an address, as the requests under
// test would find it; empty when it holds nothing.
#include <windows.h>
#include <wininet.h>

#include <string>

namespace quorvane::test {

inline std::string storedCookies(const std::string& address) {
    char buffer[4096] = {};
    DWORD length = sizeof buffer;
    if (!InternetGetCookieA(address.c_str(), nullptr, buffer, &length)) return {};
    return buffer;
}

}  // namespace quorvane::test
