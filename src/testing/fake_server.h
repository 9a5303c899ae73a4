#pragma once

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "contracts/connection_contract.h"

namespace pag {

// A server for tests: records every call and answers from a script, one queue of
// answers per operation, consumed in order. A call nobody scripted is a fault of the
// test or of the code under test, so it is never answered quietly: it is recorded,
// reported by verify(), passed to OnUnexpected and thrown as UnexpectedCall (which a
// transport turns into a failed result naming the operation).
class FakeServer final : public ServerModule {
public:
    struct UnexpectedCall : std::logic_error {
        using std::logic_error::logic_error;
    };

    struct RecordedCall {
        CallContext context;
        std::string operation;
        std::vector<Value> args;  // as received, before any write-back
    };

    using Handler = std::function<CallResult(const CallContext&, std::vector<Value>&)>;

    // Queues a successful answer; refs are written into the arguments (by index)
    // before answering, as the real server writes by-reference arguments.
    FakeServer& answer(const std::string& operation, Value result = Value(),
                       std::map<int, Value> refs = {});
    // Queues a refusal with the server's message.
    FakeServer& fail(const std::string& operation, std::string message);
    // Queues an answer computed from the call.
    FakeServer& answerWith(const std::string& operation, Handler handler);
    // Answers every call of the operation with the handler, after its queue is empty.
    FakeServer& always(const std::string& operation, Handler handler);

    CallResult call(const CallContext& ctx, const std::string& operation,
                    std::vector<Value>& args) override;

    std::vector<RecordedCall> calls() const;
    std::vector<RecordedCall> callsTo(const std::string& operation) const;
    size_t callCount(const std::string& operation) const;
    // Empty when every call was scripted and every scripted answer was used;
    // otherwise one line per problem.
    std::string verify() const;

    // Called with the description of an unexpected call (a test framework's failure).
    std::function<void(const std::string&)> OnUnexpected;

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::deque<Handler>> script_;
    std::map<std::string, Handler> always_;
    std::vector<RecordedCall> calls_;
    std::vector<std::string> unexpected_;
};

}  // namespace pag
