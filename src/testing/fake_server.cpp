#include "testing/fake_server.h"

namespace pag {

FakeServer& FakeServer::answer(const std::string& operation, Value result,
                               std::map<int, Value> refs) {
    return answerWith(operation, [operation, result = std::move(result), refs = std::move(refs)](
                                     const CallContext&, std::vector<Value>& args) {
        for (const auto& [index, value] : refs) {
            if (index < 0 || static_cast<size_t>(index) >= args.size())
                throw UnexpectedCall("FakeServer: a resposta programada de " + operation +
                                     " escreve no argumento " + std::to_string(index) +
                                     ", mas a chamada tem " + std::to_string(args.size()) +
                                     " argumentos.");
            args[static_cast<size_t>(index)] = value;
        }
        return CallResult::success(result);
    });
}

FakeServer& FakeServer::fail(const std::string& operation, std::string message) {
    return answerWith(operation,
                      [message = std::move(message)](const CallContext&, std::vector<Value>&) {
                          return CallResult::failure(message);
                      });
}

FakeServer& FakeServer::answerWith(const std::string& operation, Handler handler) {
    std::lock_guard lock(mutex_);
    script_[operation].push_back(std::move(handler));
    return *this;
}

FakeServer& FakeServer::always(const std::string& operation, Handler handler) {
    std::lock_guard lock(mutex_);
    always_[operation] = std::move(handler);
    return *this;
}

CallResult FakeServer::call(const CallContext& ctx, const std::string& operation,
                            std::vector<Value>& args) {
    Handler handler;
    std::string problem;
    {
        std::lock_guard lock(mutex_);
        calls_.push_back({ctx, operation, args});
        auto queued = script_.find(operation);
        if (queued != script_.end() && !queued->second.empty()) {
            handler = std::move(queued->second.front());
            queued->second.pop_front();
        } else if (auto any = always_.find(operation); any != always_.end()) {
            handler = any->second;
        } else {
            problem = "FakeServer: chamada inesperada da operação " + operation + " (" +
                      std::to_string(args.size()) + " argumentos): nenhuma resposta programada.";
            unexpected_.push_back(problem);
        }
    }
    if (!problem.empty()) {
        if (OnUnexpected) OnUnexpected(problem);
        throw UnexpectedCall(problem);
    }
    return handler(ctx, args);
}

std::vector<FakeServer::RecordedCall> FakeServer::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<FakeServer::RecordedCall> FakeServer::callsTo(const std::string& operation) const {
    std::lock_guard lock(mutex_);
    std::vector<RecordedCall> out;
    for (const auto& c : calls_)
        if (c.operation == operation) out.push_back(c);
    return out;
}

size_t FakeServer::callCount(const std::string& operation) const {
    return callsTo(operation).size();
}

std::string FakeServer::verify() const {
    std::lock_guard lock(mutex_);
    std::string out;
    for (const auto& u : unexpected_)
        out += u + "\n";
    for (const auto& [operation, queue] : script_)
        if (!queue.empty())
            out += "FakeServer: " + std::to_string(queue.size()) +
                   " resposta(s) programada(s) de " + operation + " não foram usadas.\n";
    return out;
}

}  // namespace pag
