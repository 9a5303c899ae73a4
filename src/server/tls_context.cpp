#include "server/tls_context.h"

#include <openssl/err.h>

#include <stdexcept>

namespace pag::server {

namespace {
std::string lastTlsError() {
    char text[256] = {};
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    ERR_clear_error();
    return text;
}
}  // namespace

TlsServerContext::TlsServerContext(const std::string& certFile, const std::string& keyFile) {
    ctx_ = SSL_CTX_new(TLS_server_method());
    if (!ctx_) throw std::runtime_error("Não foi possível preparar o TLS: " + lastTlsError());
    auto fail = [this](const std::string& what) {
        const std::string detail = lastTlsError();
        SSL_CTX_free(ctx_);
        ctx_ = nullptr;
        throw std::runtime_error(what + " (" + detail + ").");
    };
    SSL_CTX_set_min_proto_version(ctx_, TLS1_2_VERSION);
    SSL_CTX_set_mode(ctx_, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    if (SSL_CTX_use_certificate_chain_file(ctx_, certFile.c_str()) != 1)
        fail("Não foi possível ler o certificado " + certFile);
    if (SSL_CTX_use_PrivateKey_file(ctx_, keyFile.c_str(), SSL_FILETYPE_PEM) != 1)
        fail("Não foi possível ler a chave privada " + keyFile);
    if (SSL_CTX_check_private_key(ctx_) != 1)
        fail("A chave " + keyFile + " não corresponde ao certificado " + certFile);
}

TlsServerContext::~TlsServerContext() {
    SSL_CTX_free(ctx_);
}

}  // namespace pag::server
