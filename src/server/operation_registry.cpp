#include "server/operation_registry.h"

#include <cmath>

#include <stdexcept>

#include "platform/dataset/packet.h"
#include "server/access_rules.h"
#include "server/column_rules.h"
#include "server/refusal.h"

namespace pag::server {

const Value& OperationCall::arg(size_t i) const {
    if (i >= args.size())
        throw Refusal("Operação " + operation + ": argumento " + std::to_string(i + 1) +
                      " não informado (recebidos " + std::to_string(args.size()) + ").");
    return args[i];
}

std::string OperationCall::text(size_t i) const {
    return arg(i).asString();
}

double OperationCall::number(size_t i) const {
    double value = 0;
    try {
        value = arg(i).asFloat();
    } catch (const std::invalid_argument& e) {
        throw Refusal("Operação " + operation + ": argumento " + std::to_string(i + 1) +
                      " deve ser um número (" + e.what() + ")");
    }
    if (!std::isfinite(value) || std::fabs(value) > kMaxStoredNumber)
        throw Refusal("Operação " + operation + ": argumento " + std::to_string(i + 1) +
                      " está fora do limite de 999.999.999.999,99.");
    return value;
}

Date OperationCall::date(size_t i) const {
    const Value& v = arg(i);
    const std::string which = "Operação " + operation + ": argumento " + std::to_string(i + 1);
    Date d;
    try {
        if (v.type() == ValueType::Text) {
            const std::string s = v.asString();
            d = s.find('-') != std::string::npos ? Date::parseIso(s) : Date::parse(s);
        } else {
            d = v.asDate();
        }
    } catch (const std::invalid_argument& e) {
        throw Refusal(which + " deve ser uma data (" + e.what() + ")");
    }
    // A date outside the stored range would be kept as a text that is no date.
    if (!d.isEmpty() && (d < earliestStoredDate() || d > latestStoredDate()))
        throw Refusal(which + " deve ser uma data entre " + earliestStoredDate().toString() +
                      " e " + latestStoredDate().toString() + ".");
    return d;
}

bool OperationCall::flag(size_t i) const {
    return arg(i).asBool();
}

const Packet& OperationCall::packet(size_t i) const {
    const Value& v = arg(i);
    if (v.type() != ValueType::Packet || !v.asPacket())
        throw Refusal("Operação " + operation + ": argumento " + std::to_string(i + 1) +
                      " deve ser um pacote de dados.");
    return *v.asPacket();
}

std::shared_ptr<Packet> OperationCall::takePacket(size_t i) {
    const Packet& p = packet(i);
    if (auto own = soleHolder(*args[i].ifPacket())) {
        args[i] = Value();
        return own;
    }
    return std::make_shared<Packet>(p);
}

void OperationCall::requireCompany(const std::string& company) const {
    checkOperatorCompany(db, ctx.operador, company);
}

void OperationRegistry::add(std::string name, Access access, OperationHandler handler) {
    if (ops_.count(name)) throw std::logic_error("operação registrada duas vezes: " + name);
    Operation op{name, access, std::move(handler)};
    ops_.emplace(std::move(name), std::move(op));
}

const Operation* OperationRegistry::find(const std::string& name) const {
    auto it = ops_.find(name);
    return it == ops_.end() ? nullptr : &it->second;
}

std::vector<std::string> OperationRegistry::names() const {
    std::vector<std::string> out;
    for (const auto& [name, op] : ops_)
        out.push_back(name);
    return out;
}

}  // namespace pag::server
