#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/connection_contract.h"
#include "platform/dataset/json_writer.h"

namespace pag {

// True for 127.x.x.x, ::1 and "localhost": the addresses that never leave this machine.
bool isLoopbackAddress(std::string_view host);

// The JSON bodies of POST /call (docs/protocol.md), shared by the HTTP client and the
// HTTP service so that both always speak the same version.

// A body that cannot be encoded or decoded; the message is pt-BR and says why.
struct ProtocolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CallRequest {
    std::string operation;
    std::vector<Value> args;
    CallContext context;
    std::vector<int> byRef;  // indexes of the arguments the caller wants back
};

struct CallReply {
    bool ok = false;
    Value result;
    std::string message;
    std::map<int, Value> refs;  // argument index -> value written back
};

constexpr int kDefaultMaxJsonDepth = 64;

// True when arrays and objects nest deeper than maxDepth. Scans the text without
// parsing it, so a hostile body cannot exhaust the stack of the parser.
bool exceedsJsonDepth(std::string_view text, int maxDepth);

// The bodies the two ends send each other carry a packet's rows as "rowdata"; the
// decoders take that or the readable "rows". encodeCallRequest throws ProtocolError
// when some text is not UTF-8.
std::string encodeCallRequest(const CallRequest& request);
CallRequest decodeCallRequest(std::string_view body, int maxDepth = kDefaultMaxJsonDepth);
std::string encodeCallReply(const CallReply& reply);
// ProtocolError when some text of a successful reply is not UTF-8 and so cannot be
// sent; encodeCallReply checks this itself.
void checkCallReply(const CallReply& reply);
// The text of encodeCallReply, handed to the writer's sink piece by piece (the rows of
// a packet as they are written), for a reply checkCallReply accepted. Rows are compact
// when the writer's compactRows is on (the service), readable arrays otherwise.
void writeCallReply(const CallReply& reply, JsonWriter& out);
CallReply decodeCallReply(std::string_view body, int maxDepth = kDefaultMaxJsonDepth);

// {"ok": false, "message": TEXT}, the body of every refusal. Never throws.
std::string encodeFailure(const std::string& message);

}  // namespace pag
