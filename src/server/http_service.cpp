#include "server/http_service.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "contracts/transport_httplib.h"
#include "contracts/transport_protocol.h"
#include "server/http_answers.h"
#include "server/http_listener.h"
#include "server/http_stream.h"
#include "server/tls_context.h"

namespace pag::server {

namespace {

// Compares without stopping at the first difference, so the time taken tells an
// attacker nothing about the token.
bool sameSecret(std::string_view a, std::string_view b) {
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ (i < b.size() ? b[i] : 0));
    return diff == 0;
}

constexpr socket_t kNoSocketOfItsOwn = -2;

// The HTTP library's request parsing and routing, fed one request at a time by the
// listener's connections instead of its own accept loop and thread pool.
class Router final : public httplib::Server {
public:
    // The library writes a streamed answer only while its listening socket is valid;
    // the listener owns the real one, so this stands for it (never used as a socket).
    Router() { svr_sock_ = kNoSocketOfItsOwn; }
    void serve(httplib::Stream& stream) {
        bool closed = true;
        process_request(stream, true, closed, nullptr);
    }
};

// At most `limit` holders at once; the others wait for a turn.
class Turns {
public:
    explicit Turns(unsigned limit) : free_(limit) {}
    void take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return free_ > 0; });
        --free_;
    }
    void give() {
        {
            std::lock_guard lock(mutex_);
            ++free_;
        }
        changed_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    unsigned free_;
};

// The client went away while its answer was being written.
struct ClientGone {};

// Writes the answer in chunks as it is encoded, so the server never holds the whole
// text of a long list; the checks that could fail were made before the head went out.
void streamReply(httplib::Response& res, std::shared_ptr<const CallReply> reply) {
    res.set_chunked_content_provider(kJsonContentType,
                                     [reply = std::move(reply)](size_t, httplib::DataSink& sink) {
                                         JsonWriter out([&sink](std::string_view piece) {
                                             if (!sink.write(piece.data(), piece.size()))
                                                 throw ClientGone{};
                                         });
                                         out.compactRows();
                                         try {
                                             writeCallReply(*reply, out);
                                             out.flush();
                                         } catch (const ClientGone&) {
                                             return false;
                                         }
                                         sink.done();
                                         return true;
                                     });
}

unsigned readTurns(unsigned configured) {
    if (configured > 0) return configured;
    return std::max(2u, std::thread::hardware_concurrency());
}

}  // namespace

struct HttpService::Impl {
    explicit Impl(unsigned reads) : reads(reads) {}
    Turns reads;
    std::unique_ptr<TlsServerContext> tls;
    std::unique_ptr<Router> router;
    std::unique_ptr<Listener> listener;
    std::thread thread;
    std::mutex stateMutex;  // start/stop/wait
    std::condition_variable stopped;
    std::atomic<bool> finished{true};
    int port = 0;
};

HttpService::HttpService(ServerModule& module, HttpServiceOptions options)
    : module_(module),
      options_(std::move(options)),
      impl_(std::make_unique<Impl>(readTurns(options_.maxConcurrentReads))) {}

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
        return {401, encodeFailure(statusMessage(401, options_.maxBodyBytes)), nullptr};
    if (body.size() > options_.maxBodyBytes)
        return {413, encodeFailure(statusMessage(413, options_.maxBodyBytes)), nullptr};
    CallRequest request;
    try {
        request = decodeCallRequest(body, options_.maxJsonDepth);
    } catch (const ProtocolError& e) {
        return {400, encodeFailure(e.what()), nullptr};
    }
    // A read holds its turn while it runs. Its answer is then written row by row from
    // the packet it holds, which costs no more memory than the packet itself.
    const bool read = module_.readsOnly(request.operation);
    if (read) impl_->reads.take();
    struct Release {
        Turns* turns;
        ~Release() {
            if (turns) turns->give();
        }
    } release{read ? &impl_->reads : nullptr};
    bool internalError = false;
    CallResult result =
        invokeModule(module_, request.context, request.operation, request.args, &internalError);
    auto reply = std::make_shared<CallReply>(
        CallReply{result.ok, std::move(result.result), std::move(result.message), {}});
    if (!reply->ok) return {internalError ? 500 : 200, encodeFailure(reply->message), nullptr};
    for (int i : request.byRef)
        reply->refs[i] = std::move(request.args[static_cast<size_t>(i)]);
    // Text that cannot be sent is found before the answer starts, while a failure can
    // still be told with its status.
    try {
        checkCallReply(*reply);
    } catch (const ProtocolError& e) {
        return {500,
                encodeFailure("A resposta da operação " + request.operation +
                              " não pôde ser enviada: " + e.what()),
                nullptr};
    }
    return {200, {}, std::move(reply)};
}

void HttpService::checkAddress() const {
    if (options_.certFile.empty() != options_.keyFile.empty())
        throw std::runtime_error("Para HTTPS informe o certificado e a chave (--cert e --key).");
    if (isLoopbackAddress(options_.host)) return;
    if (options_.token.empty())
        throw std::runtime_error("Para atender no endereço " + options_.host +
                                 " é preciso definir um token de acesso (--token).");
    if (options_.certFile.empty() && !options_.insecure)
        throw std::runtime_error("Para atender no endereço " + options_.host +
                                 " é preciso HTTPS (--cert ARQUIVO --key ARQUIVO); HTTP sem "
                                 "criptografia só com --insecure.");
}

int HttpService::start() {
    std::lock_guard state(impl_->stateMutex);
    if (impl_->thread.joinable()) throw std::logic_error("O serviço HTTP já está em execução.");
    checkAddress();
    if (!options_.certFile.empty())
        impl_->tls = std::make_unique<TlsServerContext>(options_.certFile, options_.keyFile);

    auto router = std::make_unique<Router>();
    const size_t maxBody = options_.maxBodyBytes;
    router->set_payload_max_length(maxBody);
    router->Get("/health", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("{\"ok\":true}", kJsonContentType);
    });
    router->Post("/call", [this, maxBody](const httplib::Request& req, httplib::Response& res,
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
                reply = {status,
                         encodeFailure(status == 413 ? statusMessage(413, maxBody)
                                                     : "Requisição incompleta: o corpo não "
                                                       "chegou inteiro a tempo."),
                         nullptr};
            } else {
                reply = handleCall(body, req.get_header_value("Authorization"));
            }
        }
        res.status = reply.status;
        if (reply.status == 401) res.set_header("WWW-Authenticate", "Bearer");
        if (reply.streamed)
            streamReply(res, std::move(reply.streamed));
        else
            res.set_content(reply.body, kJsonContentType);
    });
    // Every refusal the library makes on its own (malformed request, unknown path, size)
    // still answers in the protocol's form.
    router->set_error_handler(httplib::Server::HandlerWithResponse(
        [maxBody](const httplib::Request&, httplib::Response& res) {
            if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
            res.set_content(encodeFailure(statusMessage(res.status, maxBody)), kJsonContentType);
            return httplib::Server::HandlerResponse::Handled;
        }));
    router->set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
            std::string what = "erro desconhecido";
            try {
                if (ep) std::rethrow_exception(ep);
            } catch (const std::exception& e) {
                what = e.what();
            } catch (...) {
            }
            res.status = 500;
            res.set_content(encodeFailure("Erro interno do serviço: " + what), kJsonContentType);
        });

    ListenerOptions listen;
    listen.host = options_.host;
    listen.port = options_.port;
    listen.tls = impl_->tls ? impl_->tls->get() : nullptr;
    listen.head.maxBodyBytes = maxBody;
    listen.headTimeout = options_.headTimeout;
    listen.readTimeout = options_.readTimeout;
    listen.requestTimeout = options_.requestTimeout;
    listen.writeTimeout = options_.writeTimeout;
    listen.maxConnections = options_.maxConnections;
    Router* routerPtr = router.get();
    auto listener = std::make_unique<Listener>(
        listen, [this, routerPtr](Connection& connection, std::string received,
                                  SteadyClock::time_point deadline) {
            ConnectionStream stream(connection, std::move(received), deadline, options_.readTimeout,
                                    options_.writeTimeout);
            routerPtr->serve(stream);
        });
    const int port = listener->bind();

    impl_->router = std::move(router);
    impl_->listener = std::move(listener);
    impl_->port = port;
    impl_->finished = false;
    impl_->thread = std::thread([this] {
        impl_->listener->run();
        impl_->finished = true;
        std::lock_guard lock(impl_->stateMutex);
        impl_->stopped.notify_all();
    });
    return port;
}

void HttpService::stop() {
    std::unique_lock state(impl_->stateMutex);
    if (!impl_->thread.joinable()) return;
    impl_->listener->stop();
    std::thread thread = std::move(impl_->thread);
    state.unlock();
    thread.join();
    impl_->listener.reset();
    impl_->router.reset();
    impl_->tls.reset();
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

bool HttpService::secure() const {
    return !options_.certFile.empty();
}

}  // namespace pag::server
