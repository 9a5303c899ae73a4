#include "contracts/client/connection.h"

#include "contracts/client/transport_http.h"
#include "contracts/client/transport_inprocess.h"

namespace pag {

namespace {

// A transport whose making failed: every call reports why, so the failure surfaces
// where the connection is first needed.
class FailedTransport final : public Transport {
public:
    explicit FailedTransport(std::string message) : message_(std::move(message)) {}
    CallResult call(const CallContext&, const std::string& operation, std::vector<Value>& args,
                    const std::vector<int>& byRef) override {
        checkByRefIndexes(operation, args.size(), byRef);
        return CallResult::failure(message_);
    }
    std::string describe() const override { return "sem conexão"; }

private:
    std::string message_;
};

}  // namespace

std::unique_ptr<Transport> SocketConnection::makeTransport() const {
    if (TransportFactory) return TransportFactory(*this);
    if (IsLocal()) {
        if (!EmbeddedServer)
            return std::make_unique<FailedTransport>(
                "Nenhum servidor de aplicação configurado: informe o servidor (host:porta) ou "
                "o banco de dados do servidor embutido.");
        return std::make_unique<InProcessTransport>(EmbeddedServer);
    }
    HttpClientOptions options;
    options.tls = Scheme == "https" || (Scheme.empty() && !isLoopbackAddress(Host));
    if (!options.tls && !isLoopbackAddress(Host) && !Insecure)
        return std::make_unique<FailedTransport>(
            "O servidor de aplicação em " + Host + ":" + std::to_string(Port) +
            " está em outra máquina: use https:// ou, somente numa rede confiável, --insecure.");
    options.caFile = CaFile;
    options.token = Token;
    options.connectTimeout = ConnectTimeout;
    options.readTimeout = ReadTimeout;
    return std::make_unique<HttpTransport>(Host, Port, std::move(options));
}

void SocketConnection::Open() {
    if (transport_) return;
    if (BeforeConnect) BeforeConnect(*this);
    std::unique_ptr<Transport> t;
    try {
        t = makeTransport();
    } catch (const std::exception& e) {
        t = std::make_unique<FailedTransport>(
            "Não foi possível preparar a conexão com o servidor de aplicação: " +
            std::string(e.what()));
    }
    if (!t)
        t = std::make_unique<FailedTransport>(
            "Não foi possível preparar a conexão com o servidor de aplicação.");
    transport_ = std::move(t);
}

void SocketConnection::Close() {
    transport_.reset();
}

CallResult SocketConnection::Call(const std::string& operation, std::vector<Value>& args,
                                  const std::vector<int>& byRef) {
    checkByRefIndexes(operation, args.size(), byRef);
    Open();
    return transport_->call(Context, operation, args, byRef);
}

CallResult SocketConnection::Call(const std::string& operation, std::initializer_list<Value> args) {
    return Call(operation, std::vector<Value>(args));
}

CallResult SocketConnection::Call(const std::string& operation, std::vector<Value>&& args) {
    Open();
    return transport_->give(Context, operation, std::move(args));
}

std::string SocketConnection::Describe() const {
    return transport_ ? transport_->describe() : std::string();
}

}  // namespace pag
