#pragma once

#include <string>

#include <openssl/ssl.h>

namespace pag::server {

// The service's TLS identity: its certificate chain and private key, TLS 1.2 or newer.
class TlsServerContext {
public:
    // Throws std::runtime_error (pt-BR) naming the file that cannot be used.
    TlsServerContext(const std::string& certFile, const std::string& keyFile);
    ~TlsServerContext();
    TlsServerContext(const TlsServerContext&) = delete;
    TlsServerContext& operator=(const TlsServerContext&) = delete;

    SSL_CTX* get() const { return ctx_; }

private:
    SSL_CTX* ctx_ = nullptr;
};

}  // namespace pag::server
