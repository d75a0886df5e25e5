#pragma once
// The Windows side of the tests' TLS relay (tests/support/tls_relay.py, which
// ctest starts as the "tls-relay" fixture): while a TlsForward lives, TLS
// connections to 127.0.0.1:port() are decrypted with the test certificate and
// passed to a plain port on 127.0.0.1.
#include <cstdint>

namespace quorvane::test {

class TlsForward {
public:
    // A failed test assertion (and port() 0) when the relay cannot be reached.
    explicit TlsForward(int plainPort);
    ~TlsForward();
    TlsForward(const TlsForward&) = delete;
    TlsForward& operator=(const TlsForward&) = delete;

    int port() const { return port_; }

private:
    std::uintptr_t control_;  // the relay forwards for as long as this connection is open
    int port_ = 0;
};

// Adds the test certificate (CN and DNS name "localhost") to the LocalMachine
// "Root" store of the Wine prefix the test runs in, so that WinINet and
// WinHttp accept the relay. Idempotent; never touches anything outside the prefix.
void trustTestCertificate();

}  // namespace quorvane::test
