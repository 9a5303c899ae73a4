#include "contracts/client/check_result.h"

#include <cctype>

#include "contracts/client/messages.h"

namespace pag {

namespace {

std::string shapeOf(const Value& v) {
    if (v.type() == ValueType::Array)
        return "uma lista de " + std::to_string(v.asArray().size()) + " elemento(s)";
    return std::string("um valor do tipo ") + valueTypeName(v.type());
}

[[noreturn]] void wrongShape(const std::string& expected, const Value& got) {
    throw ServerCallError("Resposta do servidor de aplicação em formato inesperado: esperava " +
                          expected + ", recebeu " + shapeOf(got) + ".");
}

const std::string& failureText(const CallResult& result) {
    static const std::string unknown =
        "O servidor de aplicação recusou a operação sem informar o motivo.";
    return result.message.empty() ? unknown : result.message;
}

}  // namespace

Value CheckResultServ(UserInterface& ui, const CallResult& result, bool show, int index) {
    if (!result.ok) {
        if (show) MensErro(ui, failureText(result));
        throw ServerCallError(failureText(result));
    }
    if (index < 0) throw std::invalid_argument("CheckResultServ: índice negativo.");
    if (index == 0) return result.result;
    return PayloadPart(result.result, static_cast<size_t>(index));
}

const Value& PayloadPart(const Value& payload, size_t index) {
    if (payload.type() != ValueType::Array || payload.asArray().size() <= index)
        wrongShape("uma lista com pelo menos " + std::to_string(index + 1) + " elemento(s)",
                   payload);
    return payload.asArray()[index];
}

PacketPtr PayloadPacket(const Value& payload) {
    if (payload.type() != ValueType::Packet) wrongShape("um pacote de dados", payload);
    return payload.asPacket();
}

PacketPtr PayloadPacket(const Value& payload, size_t index) {
    const Value& part = PayloadPart(payload, index);
    if (part.type() != ValueType::Packet)
        wrongShape("um pacote de dados no elemento " + std::to_string(index), part);
    return part.asPacket();
}

Value DirectResult(UserInterface& ui, const CallResult& result) {
    if (!result.ok) MensErro(ui, failureText(result));
    return result.result;
}

bool IsOkText(const Value& result) {
    if (result.isNull()) return true;
    if (result.type() != ValueType::Text) return false;
    std::string t = result.asString();
    size_t b = t.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return true;
    size_t e = t.find_last_not_of(" \t\r\n");
    t = t.substr(b, e - b + 1);
    return t.size() == 2 && std::toupper(static_cast<unsigned char>(t[0])) == 'O' &&
           std::toupper(static_cast<unsigned char>(t[1])) == 'K';
}

}  // namespace pag
