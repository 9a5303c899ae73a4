#include "contracts/client/transport_http.h"

#include "contracts/transport_httplib.h"
#include "contracts/transport_protocol.h"

namespace pag {

namespace {

void splitDuration(std::chrono::milliseconds d, time_t& sec, time_t& usec) {
    sec = static_cast<time_t>(d.count() / 1000);
    usec = static_cast<time_t>((d.count() % 1000) * 1000);
}

bool failedToConnect(httplib::Error e) {
    return e == httplib::Error::Connection || e == httplib::Error::ConnectionTimeout ||
           e == httplib::Error::BindIPAddress || e == httplib::Error::SSLConnection ||
           e == httplib::Error::SSLLoadingCerts || e == httplib::Error::SSLServerVerification;
}

std::string reason(httplib::Error e) {
    switch (e) {
        case httplib::Error::Connection:
            return "conexão recusada ou endereço inacessível";
        case httplib::Error::ConnectionTimeout:
            return "tempo de conexão esgotado";
        case httplib::Error::BindIPAddress:
            return "endereço local inválido";
        case httplib::Error::Read:
            return "o servidor não respondeu a tempo ou encerrou a conexão";
        case httplib::Error::Write:
            return "falha ao enviar a requisição";
        case httplib::Error::SSLConnection:
            return "falha ao estabelecer a conexão segura (TLS)";
        case httplib::Error::SSLLoadingCerts:
            return "não foi possível ler os certificados da autoridade (--ca)";
        case httplib::Error::SSLServerVerification:
            return "o certificado do servidor não foi reconhecido ou não corresponde ao endereço";
        default:
            return "erro de comunicação (" + httplib::to_string(e) + ")";
    }
}

std::string baseUrl(bool tls, const std::string& host, int port) {
    const bool ipv6 = host.find(':') != std::string::npos && !host.starts_with("[");
    return std::string(tls ? "https://" : "http://") + (ipv6 ? "[" + host + "]" : host) + ":" +
           std::to_string(port);
}

}  // namespace

HttpTransport::HttpTransport(std::string host, int port, HttpClientOptions options)
    : host_(std::move(host)), port_(port), options_(std::move(options)) {}

std::string HttpTransport::describe() const {
    return host_ + ":" + std::to_string(port_);
}

CallResult HttpTransport::call(const CallContext& ctx, const std::string& operation,
                               std::vector<Value>& args, const std::vector<int>& byRef) {
    checkByRefIndexes(operation, args.size(), byRef);
    const std::string server = "servidor de aplicação em " + describe();
    if (host_.empty() || port_ <= 0 || port_ > 65535)
        return CallResult::failure("Não foi possível conectar ao " + server +
                                   ": endereço ou porta inválidos.");
    std::string body;
    try {
        body = encodeCallRequest({operation, args, ctx, byRef});
    } catch (const ProtocolError& e) {
        return CallResult::failure("Não foi possível enviar a operação " + operation + ": " +
                                   e.what());
    }

    httplib::Client client(baseUrl(options_.tls, host_, port_));
    if (options_.tls) {
        client.enable_server_certificate_verification(true);
        if (!options_.caFile.empty()) client.set_ca_cert_path(options_.caFile);
    }
    time_t sec = 0, usec = 0;
    splitDuration(options_.connectTimeout, sec, usec);
    client.set_connection_timeout(sec, usec);
    splitDuration(options_.readTimeout, sec, usec);
    client.set_read_timeout(sec, usec);
    client.set_write_timeout(sec, usec);
    client.set_keep_alive(false);
    if (!options_.token.empty()) client.set_bearer_token_auth(options_.token);

    httplib::Result res = client.Post("/call", body, "application/json");
    if (!res) {
        if (failedToConnect(res.error()))
            return CallResult::failure("Não foi possível conectar ao " + server + ": " +
                                       reason(res.error()) + ".");
        return CallResult::failure("A comunicação com o " + server + " falhou na operação " +
                                   operation + ": " + reason(res.error()) + ".");
    }

    auto httpError = [&] {
        return CallResult::failure("O " + server + " respondeu com o erro HTTP " +
                                   std::to_string(res->status) + " na operação " + operation + ".");
    };
    CallReply reply;
    try {
        reply = decodeCallReply(res->body, options_.maxJsonDepth);
    } catch (const ProtocolError& e) {
        if (res->status != 200) return httpError();
        return CallResult::failure(std::string(e.what()) + " (" + describe() + ").");
    }
    if (!reply.ok)
        return CallResult::failure(reply.message.empty() ? refusalWithoutReason(operation)
                                                         : reply.message);
    if (res->status != 200) return httpError();
    for (int i : byRef) {
        auto it = reply.refs.find(i);
        if (it != reply.refs.end()) args[static_cast<size_t>(i)] = std::move(it->second);
    }
    return CallResult::success(std::move(reply.result));
}

}  // namespace pag
