#include "contracts/transport_http_service.h"

#include <atomic>
#include <cctype>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "contracts/transport_httplib.h"
#include "contracts/transport_protocol.h"

namespace pag {

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";

std::string sizeText(size_t bytes) {
    constexpr size_t MiB = 1024u * 1024u;
    if (bytes >= MiB && bytes % MiB == 0) return std::to_string(bytes / MiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// Compares without stopping at the first difference, so the time taken tells an
// attacker nothing about the token.
bool sameSecret(std::string_view a, std::string_view b) {
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ (i < b.size() ? b[i] : 0));
    return diff == 0;
}

std::string statusMessage(int status, size_t maxBody) {
    switch (status) {
        case 400:
            return "Requisição HTTP malformada.";
        case 401:
            return "Acesso negado: token de acesso ausente ou inválido.";
        case 404:
            return "Recurso não encontrado. Use POST /call ou GET /health.";
        case 413:
            return "Requisição grande demais: o limite é de " + sizeText(maxBody) + ".";
        case 414:
            return "Endereço da requisição longo demais.";
        default:
            if (status >= 500)
                return "Erro interno do serviço (HTTP " + std::to_string(status) + ").";
            return "Requisição recusada (HTTP " + std::to_string(status) + ").";
    }
}

}  // namespace

bool isLoopbackAddress(std::string_view host) {
    return host == "localhost" || host == "::1" || host == "[::1]" || host.starts_with("127.");
}

struct HttpService::Impl {
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::mutex callMutex;   // one call at a time reaches the module
    std::mutex stateMutex;  // start/stop/wait
    std::condition_variable stopped;
    std::atomic<bool> finished{true};
    int port = 0;
};

HttpService::HttpService(ServerModule& module, HttpServiceOptions options)
    : module_(module), options_(std::move(options)), impl_(std::make_unique<Impl>()) {}

HttpService::~HttpService() {
    stop();
}

bool HttpService::authorized(std::string_view authorization) const {
    if (options_.token.empty()) return true;
    constexpr std::string_view scheme = "bearer ";
    if (authorization.size() <= scheme.size()) return false;
    for (size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(authorization[i])) != scheme[i]) return false;
    return sameSecret(authorization.substr(scheme.size()), options_.token);
}

HttpService::Reply HttpService::handleCall(std::string_view body, std::string_view authorization) {
    if (!authorized(authorization))
        return {401, encodeFailure(statusMessage(401, options_.maxBodyBytes))};
    if (body.size() > options_.maxBodyBytes)
        return {413, encodeFailure(statusMessage(413, options_.maxBodyBytes))};
    CallRequest request;
    try {
        request = decodeCallRequest(body, options_.maxJsonDepth);
    } catch (const ProtocolError& e) {
        return {400, encodeFailure(e.what())};
    }
    bool internalError = false;
    CallResult result;
    {
        std::lock_guard lock(impl_->callMutex);
        result =
            invokeModule(module_, request.context, request.operation, request.args, &internalError);
    }
    CallReply reply{result.ok, std::move(result.result), std::move(result.message), {}};
    if (reply.ok)
        for (int i : request.byRef)
            reply.refs[i] = request.args[static_cast<size_t>(i)];
    try {
        return {internalError ? 500 : 200, encodeCallReply(reply)};
    } catch (const ProtocolError& e) {
        return {500, encodeFailure("A resposta da operação " + request.operation +
                                   " não pôde ser enviada: " + e.what())};
    }
}

int HttpService::start() {
    std::lock_guard state(impl_->stateMutex);
    if (impl_->thread.joinable()) throw std::logic_error("O serviço HTTP já está em execução.");
    if (!isLoopbackAddress(options_.host) && options_.token.empty())
        throw std::runtime_error("Para atender no endereço " + options_.host +
                                 " é preciso definir um token de acesso (--token).");
    auto server = std::make_unique<httplib::Server>();
    const size_t maxBody = options_.maxBodyBytes;
    server->set_payload_max_length(maxBody);
    server->set_read_timeout(static_cast<time_t>(options_.readTimeout.count()), 0);
    server->set_write_timeout(static_cast<time_t>(options_.writeTimeout.count()), 0);

    server->Get("/health", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("{\"ok\":true}", kJson);
    });
    server->Post("/call", [this, maxBody](const httplib::Request& req, httplib::Response& res,
                                          const httplib::ContentReader& read) {
        Reply reply;
        if (!authorized(req.get_header_value("Authorization"))) {
            // Refused before reading the body: an unknown caller costs nothing.
            reply = handleCall({}, req.get_header_value("Authorization"));
        } else {
            std::string body;
            bool tooLarge = false;
            bool complete = read([&](const char* data, size_t length) {
                if (body.size() + length > maxBody) {
                    tooLarge = true;
                    return false;
                }
                body.append(data, length);
                return true;
            });
            if (!complete) {
                const int status = tooLarge || res.status == 413 ? 413 : 400;
                reply = {status, encodeFailure(statusMessage(status, maxBody))};
            } else {
                reply = handleCall(body, req.get_header_value("Authorization"));
            }
        }
        res.status = reply.status;
        if (reply.status == 401) res.set_header("WWW-Authenticate", "Bearer");
        res.set_content(reply.body, kJson);
    });
    // Every refusal the library makes on its own (malformed request, unknown path, size)
    // still answers in the protocol's form.
    server->set_error_handler(httplib::Server::HandlerWithResponse(
        [maxBody](const httplib::Request&, httplib::Response& res) {
            if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
            res.set_content(encodeFailure(statusMessage(res.status, maxBody)), kJson);
            return httplib::Server::HandlerResponse::Handled;
        }));
    server->set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
            std::string what = "erro desconhecido";
            try {
                if (ep) std::rethrow_exception(ep);
            } catch (const std::exception& e) {
                what = e.what();
            } catch (...) {
            }
            res.status = 500;
            res.set_content(encodeFailure("Erro interno do serviço: " + what), kJson);
        });

    int port = options_.port;
    if (port == 0)
        port = server->bind_to_any_port(options_.host);
    else if (!server->bind_to_port(options_.host, port))
        port = -1;
    if (port <= 0)
        throw std::runtime_error("Não foi possível atender em " + options_.host + ":" +
                                 std::to_string(options_.port) +
                                 ": endereço inválido ou porta em uso.");

    impl_->server = std::move(server);
    impl_->port = port;
    impl_->finished = false;
    impl_->thread = std::thread([this] {
        impl_->server->listen_after_bind();
        impl_->finished = true;
        std::lock_guard lock(impl_->stateMutex);
        impl_->stopped.notify_all();
    });
    // stop() only takes effect once the accept loop runs: wait for it, so that a
    // stop right after start cannot be lost.
    while (!impl_->server->is_running() && !impl_->finished)
        std::this_thread::yield();
    return port;
}

void HttpService::stop() {
    std::unique_lock state(impl_->stateMutex);
    if (!impl_->thread.joinable()) return;
    impl_->server->stop();
    std::thread thread = std::move(impl_->thread);
    state.unlock();
    thread.join();
    impl_->server.reset();
}

void HttpService::wait() {
    std::unique_lock state(impl_->stateMutex);
    impl_->stopped.wait(state, [this] { return impl_->finished.load(); });
}

bool HttpService::running() const {
    return !impl_->finished;
}

int HttpService::port() const {
    return impl_->port;
}

}  // namespace pag
