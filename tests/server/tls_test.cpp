// HTTPS on a certificate of the test's own authority, and plain HTTP only on loopback.
#include <gtest/gtest.h>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <stdexcept>

#include "contracts/client/connection.h"
#include "raw_http.h"
#include "server/http_service.h"
#include "server_fixture.h"
#include "testing/fake_server.h"

namespace pag::server::testing {
namespace {

// A self-signed certificate for localhost and 127.0.0.1 with its key, in PEM files;
// the certificate is also the authority a client is told to trust.
class TestCertificate {
public:
    TestCertificate() {
        EVP_PKEY* key = EVP_EC_gen("P-256");
        X509* x = X509_new();
        X509_set_version(x, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(x), 1);
        X509_gmtime_adj(X509_getm_notBefore(x), -60);
        X509_gmtime_adj(X509_getm_notAfter(x), 3600);
        X509_set_pubkey(x, key);
        X509_NAME* name = X509_get_subject_name(x);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
        X509_set_issuer_name(x, name);
        X509V3_CTX ctx;
        X509V3_set_ctx_nodb(&ctx);
        X509V3_set_ctx(&ctx, x, x, nullptr, nullptr, 0);
        for (auto [nid, value] : {std::pair{NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1"},
                                  std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
            X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
            X509_add_ext(x, ext, -1);
            X509_EXTENSION_free(ext);
        }
        X509_sign(x, key, EVP_sha256());
        FILE* c = std::fopen(cert_.path().c_str(), "w");
        PEM_write_X509(c, x);
        std::fclose(c);
        FILE* k = std::fopen(key_.path().c_str(), "w");
        PEM_write_PrivateKey(k, key, nullptr, nullptr, 0, nullptr, nullptr);
        std::fclose(k);
        X509_free(x);
        EVP_PKEY_free(key);
    }
    const std::string& cert() const { return cert_.path(); }
    const std::string& key() const { return key_.path(); }

private:
    TempFile cert_, key_;
};

class Https : public ::testing::Test {
protected:
    void SetUp() override {
        fake_.always("Eco", [](const CallContext&, std::vector<Value>& args) {
            return CallResult::success(args.empty() ? Value() : args[0]);
        });
        HttpServiceOptions options;
        options.certFile = certificate_.cert();
        options.keyFile = certificate_.key();
        service_ = std::make_unique<HttpService>(fake_, options);
        port_ = service_->start();
    }
    CallResult echo(const std::string& scheme, const std::string& ca) {
        SocketConnection net;
        net.Host = "127.0.0.1";
        net.Port = port_;
        net.Scheme = scheme;
        net.CaFile = ca;
        net.ConnectTimeout = std::chrono::milliseconds(2000);
        net.ReadTimeout = std::chrono::milliseconds(5000);
        std::vector<Value> args{Value("x")};
        return net.Call("Eco", args);
    }

    TestCertificate certificate_;
    FakeServer fake_;
    std::unique_ptr<HttpService> service_;
    int port_ = 0;
};

TEST_F(Https, ACallCheckingTheServersCertificateGoesThrough) {
    EXPECT_TRUE(service_->secure());
    // A client that connects and never shakes hands holds nobody up.
    RawClient silent(port_);
    CallResult r = echo("https", certificate_.cert());
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.result, Value("x"));
}

TEST_F(Https, ACertificateNoTrustedAuthoritySignedIsRefused) {
    CallResult r = echo("https", "");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("certificado do servidor"), std::string::npos) << r.message;
    CallResult plain = echo("http", "");
    EXPECT_FALSE(plain.ok);
    EXPECT_EQ(fake_.callCount("Eco"), 0u);
}

TEST(HttpsRules, OffLoopbackTheServiceWantsHttpsOrAnExplicitInsecure) {
    FakeServer fake;
    HttpServiceOptions options;
    options.host = "0.0.0.0";
    options.token = "s3gr3d0";
    HttpService plain(fake, options);
    try {
        plain.start();
        FAIL() << "iniciou sem HTTPS";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("--insecure"), std::string::npos) << e.what();
    }
    TestCertificate one, other;
    HttpServiceOptions mismatched;
    mismatched.certFile = one.cert();
    mismatched.keyFile = other.key();
    HttpService wrongKey(fake, mismatched);
    try {
        wrongKey.start();
        FAIL() << "iniciou com a chave de outro certificado";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("chave privada"), std::string::npos) << e.what();
    }
}

TEST(HttpsRules, TheClientSpeaksPlainHttpToAnotherMachineOnlyWhenToldTo) {
    SocketConnection net;
    net.Host = "192.0.2.10";  // never contacted: the refusal comes first
    net.Port = 8412;
    net.Scheme = "http";
    std::vector<Value> args;
    CallResult r = net.Call("GetGeral", args);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("--insecure"), std::string::npos) << r.message;
}

}  // namespace
}  // namespace pag::server::testing
