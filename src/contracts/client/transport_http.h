#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/client/transport.h"
#include "contracts/transport_protocol.h"

namespace pag {

struct HttpClientOptions {
    std::string token;  // sent as "Authorization: Bearer TOKEN" when not empty
    // HTTPS, checking the server's certificate and name against the system's
    // authorities, or against caFile (PEM) when given.
    bool tls = false;
    std::string caFile;
    std::chrono::milliseconds connectTimeout{5000};
    // Long enough for the heaviest operations (automatic enabling of many boletos).
    std::chrono::milliseconds readTimeout{120000};
    int maxJsonDepth = 64;
};

// Calls the application server over HTTP or HTTPS (POST /call, docs/protocol.md). Each call
// opens its own connection: nothing is left half-open between calls, and a call is
// never sent twice, since the server may already have carried it out.
class HttpTransport final : public Transport {
public:
    HttpTransport(std::string host, int port, HttpClientOptions options = {});

    CallResult call(const CallContext& ctx, const std::string& operation, std::vector<Value>& args,
                    const std::vector<int>& byRef) override;
    std::string describe() const override;

private:
    std::string host_;
    int port_;
    HttpClientOptions options_;
};

}  // namespace pag
