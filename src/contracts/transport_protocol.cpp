#include "contracts/transport_protocol.h"

#include <nlohmann/json.hpp>

#include "contracts/protocol_body.h"
#include "platform/dataset/packet.h"

namespace pag {

bool isLoopbackAddress(std::string_view host) {
    return host == "localhost" || host == "::1" || host == "[::1]" || host.starts_with("127.");
}

using nlohmann::json;

namespace {

// Decodes one value, turning every decoding failure into a ProtocolError that says
// where the value was.
Value decodeValue(const json& j, const std::string& where) {
    try {
        return valueFromJson(j);
    } catch (const std::invalid_argument& e) {
        throw ProtocolError(where + ": " + e.what());
    } catch (const json::exception&) {
        throw ProtocolError(where + ": pacote de dados com estrutura inválida.");
    }
}

const json* member(const json& obj, const char* name) {
    auto it = obj.find(name);
    return it == obj.end() ? nullptr : &*it;
}

std::string contextText(const json& ctx, const char* name) {
    const json* v = member(ctx, name);
    if (!v || v->is_null()) return {};
    if (!v->is_string())
        throw ProtocolError("Requisição inválida: \"context." + std::string(name) +
                            "\" deve ser texto.");
    return v->get<std::string>();
}

int argIndex(const json& j) {
    if (!j.is_number_integer()) return -1;
    auto i = j.get<int64_t>();
    return i < 0 || i > 1'000'000'000 ? -1 : static_cast<int>(i);
}

// "3" -> 3; anything but plain digits -> -1.
int refKey(const std::string& key) {
    if (key.empty() || key.size() > 9) return -1;
    for (char c : key)
        if (c < '0' || c > '9') return -1;
    return std::stoi(key);
}

}  // namespace

std::string encodeCallRequest(const CallRequest& request) {
    // The list a screen sends back (GetMarcaTBoletos) travels in compact rows too. The
    // writer refuses text that is not UTF-8, in the rows as anywhere else.
    JsonWriter out;
    out.compactRows();
    try {
        out.raw("{\"operation\":").string(request.operation).raw(",\"args\":[");
        for (size_t i = 0; i < request.args.size(); ++i)
            out.raw(i ? "," : "").value(request.args[i]);
        out.raw("],\"context\":{\"empresa\":")
            .string(request.context.empresa)
            .raw(",\"filial\":")
            .string(request.context.filial)
            .raw(",\"operador\":")
            .string(request.context.operador)
            .raw("}");
        if (request.context.requestId)
            out.raw(",\"request_id\":").string(*request.context.requestId);
        if (!request.byRef.empty()) {
            out.raw(",\"by_ref\":[");
            for (size_t i = 0; i < request.byRef.size(); ++i)
                out.raw(i ? "," : "").value(Value(int64_t{request.byRef[i]}));
            out.raw("]");
        }
        out.raw("}");
    } catch (const std::invalid_argument& e) {
        throw ProtocolError(e.what());
    }
    return out.text();
}

CallRequest decodeCallRequest(std::string_view body, int maxDepth) {
    const std::string what = "Requisição inválida";
    json j = parseProtocolBody(body, maxDepth, what);
    if (!j.is_object()) throw ProtocolError(what + ": o corpo deve ser um objeto JSON.");
    CallRequest r;
    const json* op = member(j, "operation");
    if (!op || !op->is_string() || op->get<std::string>().empty())
        throw ProtocolError(what + ": \"operation\" ausente ou vazio.");
    r.operation = op->get<std::string>();
    const json* args = member(j, "args");
    if (!args || !args->is_array())
        throw ProtocolError(what + ": \"args\" ausente ou não é uma lista.");
    r.args.reserve(args->size());
    for (size_t i = 0; i < args->size(); ++i)
        r.args.push_back(decodeValue((*args)[i], what + ": argumento " + std::to_string(i)));
    if (const json* ctx = member(j, "context"); ctx && !ctx->is_null()) {
        if (!ctx->is_object()) throw ProtocolError(what + ": \"context\" deve ser um objeto.");
        r.context.empresa = contextText(*ctx, "empresa");
        r.context.filial = contextText(*ctx, "filial");
        r.context.operador = contextText(*ctx, "operador");
    }
    if (const json* id = member(j, "request_id"); id && !id->is_null()) {
        if (!id->is_string()) throw ProtocolError(what + ": \"request_id\" deve ser texto.");
        r.context.requestId = id->get<std::string>();
    }
    if (const json* refs = member(j, "by_ref"); refs && !refs->is_null()) {
        if (!refs->is_array()) throw ProtocolError(what + ": \"by_ref\" deve ser uma lista.");
        for (const json& x : *refs) {
            int i = argIndex(x);
            if (i < 0) throw ProtocolError(what + ": índice inválido em \"by_ref\".");
            r.byRef.push_back(i);
        }
        try {
            checkByRefIndexes(r.operation, r.args.size(), r.byRef);
        } catch (const std::invalid_argument& e) {
            throw ProtocolError(what + ": " + e.what());
        }
    }
    return r;
}

std::string encodeFailure(const std::string& message) {
    // A message is only shown, so a stray invalid byte is replaced rather than
    // turning a refusal into an unreadable failure.
    return json{{"ok", false}, {"message", message}}.dump(-1, ' ', false,
                                                          json::error_handler_t::replace);
}

void checkCallReply(const CallReply& reply) {
    if (!reply.ok) return;
    try {
        JsonWriter::checkUtf8(reply.result);
        for (const auto& [i, v] : reply.refs)
            JsonWriter::checkUtf8(v);
    } catch (const std::invalid_argument& e) {
        throw ProtocolError(e.what());
    }
}

void writeCallReply(const CallReply& reply, JsonWriter& out) {
    if (!reply.ok) {
        out.raw(encodeFailure(reply.message));
        return;
    }
    out.raw("{\"ok\":true,\"refs\":{");
    bool first = true;
    for (const auto& [i, v] : reply.refs) {
        out.raw(first ? "\"" : ",\"").raw(std::to_string(i)).raw("\":").value(v);
        first = false;
    }
    out.raw("},\"result\":").value(reply.result).raw("}");
}

std::string encodeCallReply(const CallReply& reply) {
    checkCallReply(reply);
    JsonWriter out;
    out.compactRows();
    writeCallReply(reply, out);
    return out.text();
}

CallReply decodeCallReply(std::string_view body, int maxDepth) {
    const std::string what = "Resposta inválida do servidor de aplicação";
    json j = parseProtocolBody(body, maxDepth, what);
    const json* ok = j.is_object() ? member(j, "ok") : nullptr;
    if (!ok || !ok->is_boolean()) throw ProtocolError(what + ": falta o indicador \"ok\".");
    CallReply r;
    r.ok = ok->get<bool>();
    if (!r.ok) {
        const json* m = member(j, "message");
        if (m && m->is_string()) r.message = m->get<std::string>();
        return r;
    }
    if (const json* res = member(j, "result")) r.result = decodeValue(*res, what + ": resultado");
    if (const json* refs = member(j, "refs"); refs && !refs->is_null()) {
        if (!refs->is_object()) throw ProtocolError(what + ": \"refs\" deve ser um objeto.");
        for (const auto& [key, v] : refs->items()) {
            int i = refKey(key);
            if (i < 0) throw ProtocolError(what + ": índice inválido em \"refs\": " + key + ".");
            r.refs[i] = decodeValue(v, what + ": argumento " + key);
        }
    }
    return r;
}

}  // namespace pag
