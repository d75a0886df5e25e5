#include "tests/support/tls_forward.h"

#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/fixtures.h"

namespace quorvane::test {
namespace {

constexpr const char* kCertificate = "test-only-localhost-cert.pem";

int relayControlPort() {
    std::ifstream state(QUORVANE_TLS_RELAY_STATE);
    int port = 0;
    state >> port;
    return port;
}

bool sendLine(SOCKET s, const std::string& line) {
    return ::send(s, line.data(), static_cast<int>(line.size()), 0) == static_cast<int>(line.size());
}

std::string receiveLine(SOCKET s) {
    std::string line;
    char c;
    while (::recv(s, &c, 1, 0) == 1 && c != '\n') line += c;
    return line;
}

}  // namespace

TlsForward::TlsForward(int plainPort) : control_(static_cast<std::uintptr_t>(INVALID_SOCKET)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    int relayPort = relayControlPort();
    if (relayPort == 0) {
        ADD_FAILURE() << "no TLS relay (" << QUORVANE_TLS_RELAY_STATE
                      << " is missing): run the test through ctest, which starts it";
        return;
    }
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    control_ = static_cast<std::uintptr_t>(s);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(relayPort));
    DWORD limit = 5000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        !sendLine(s, "forward " + std::to_string(plainPort) + "\n")) {
        ADD_FAILURE() << "the TLS relay does not answer on port " << relayPort;
        return;
    }
    std::string answer = receiveLine(s);
    port_ = std::atoi(answer.c_str());
    if (port_ == 0) ADD_FAILURE() << "the TLS relay refused to forward: \"" << answer << "\"";
}

TlsForward::~TlsForward() {
    if (static_cast<SOCKET>(control_) != INVALID_SOCKET) closesocket(static_cast<SOCKET>(control_));
    WSACleanup();
}

void trustTestCertificate() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::vector<unsigned char> pem = readFixture(kCertificate);
        DWORD size = 0;
        std::vector<BYTE> der;
        if (CryptStringToBinaryA(reinterpret_cast<const char*>(pem.data()), static_cast<DWORD>(pem.size()),
                                 CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
            der.resize(size);
            CryptStringToBinaryA(reinterpret_cast<const char*>(pem.data()), static_cast<DWORD>(pem.size()),
                                 CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr);
        }
        HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
        bool added = root && !der.empty() &&
                     CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), size,
                                                      CERT_STORE_ADD_USE_EXISTING, nullptr);
        DWORD error = GetLastError();
        if (root) CertCloseStore(root, 0);
        if (!added) ADD_FAILURE() << "cannot trust " << kCertificate << " (error " << error << ")";
    });
}

}  // namespace quorvane::test
