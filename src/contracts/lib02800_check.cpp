// Validation of barcodes and digitable lines, shared by the screen and the command line.
#include <algorithm>
#include <array>
#include <cctype>
#include <nlohmann/json.hpp>

#include "contracts/consiste.h"
#include "contracts/lib02800.h"

namespace pag {

namespace {

constexpr std::array<const char*, 4> kOrdinals = {"Primeiro", "Segundo", "Terceiro", "Quarto"};

const char* const kGeneralDigit =
    "Código de barras inválido. Dígito verificador geral inconsistente.";
const char* const kValueType =
    "Código de barras de arrecadação inválido: o terceiro dígito (identificador de valor) "
    "deve ser 6, 7, 8 ou 9.";

int64_t digitsValue(std::string_view digits) {
    int64_t v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

bool isValueType(char c) {
    return c >= '6' && c <= '9';
}

// Fields 1 to 3 of a 47-digit line: data then its modulo-10 check digit.
std::string checkBankLine(std::string_view l) {
    struct Range {
        size_t start, length;
    };
    constexpr std::array<Range, 3> kFields = {{{0, 9}, {10, 10}, {21, 10}}};
    for (size_t i = 0; i < kFields.size(); ++i) {
        const Range& f = kFields[i];
        if (Mod10(l.substr(f.start, f.length)) != l[f.start + f.length])
            return std::string(kOrdinals[i]) + " campo inválido. Dígito verificador inconsistente.";
    }
    return {};
}

// The four blocks of a 48-digit line: 11 digits then the block's check digit.
std::string checkCollectionLine(std::string_view l) {
    if (l[0] != '8')
        return "Linha digitável inválida: a de 48 dígitos é de arrecadação e começa com 8.";
    if (!isValueType(l[2])) return kValueType;
    for (size_t i = 0; i < 4; ++i) {
        if (collectionCheckDigit(l.substr(i * 12, 11), l[2]) != l[i * 12 + 11])
            return std::string(kOrdinals[i]) + " bloco inválido. Dígito verificador inconsistente.";
    }
    return {};
}

std::string checkBarcode(std::string_view b) {
    std::string withoutDigit(b);
    if (b[0] == '8') {
        if (!isValueType(b[2])) return kValueType;
        withoutDigit.erase(3, 1);
        if (collectionCheckDigit(withoutDigit, b[2]) != b[3]) return kGeneralDigit;
    } else {
        withoutDigit.erase(4, 1);
        if (Mod11(withoutDigit, Mod11Rule::Bank) != b[4]) return kGeneralDigit;
    }
    return {};
}

BarcodeInfo refused(std::string message) {
    BarcodeInfo info;
    info.message = std::move(message);
    return info;
}

BarcodeInfo describe(const std::string& b, Date today) {
    BarcodeInfo info;
    info.valid = true;
    info.barcode = b;
    info.line = TransformaBarraLinhaDigi(b);
    int64_t cents = 0;
    if (b[0] == '8') {
        info.kind = BarcodeKind::Collection;
        // "7" and "9" hold a reference quantity, not money.
        if (b[2] == '6' || b[2] == '8') cents = digitsValue(std::string_view(b).substr(4, 11));
    } else {
        info.kind = BarcodeKind::Bank;
        info.due = dueDateFromFactor(
            static_cast<int>(digitsValue(std::string_view(b).substr(5, 4))), today);
        cents = digitsValue(std::string_view(b).substr(9, 10));
    }
    if (cents > 0) info.valueCents = cents;
    return info;
}

}  // namespace

BarcodeInfo analyseBarcode(std::string_view code, Date today) {
    std::string text = AllTrim(code);
    if (text.empty()) return refused("Código de barras não informado.");
    if (!std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
        return refused("Código de barras inválido: informe somente dígitos.");
    std::string message;
    switch (text.size()) {
        case 44:
            break;
        case 47:
            message = checkBankLine(text);
            text = CodigoBarras(text, kLinhaBancaria);
            break;
        case 48:
            message = checkCollectionLine(text);
            text = CodigoBarras(text, kLinhaArrecadacao);
            break;
        default:
            return refused(
                "Código de barras inválido: o código de barras tem 44 dígitos e a linha "
                "digitável 47 (boleto bancário) ou 48 (arrecadação); foram informados " +
                std::to_string(text.size()) + " dígitos.");
    }
    if (message.empty()) message = checkBarcode(text);
    if (!message.empty()) return refused(std::move(message));
    return describe(text, today);
}

std::string barcodeInfoJson(const BarcodeInfo& info) {
    auto textOrNull = [&](const std::string& s) {
        return info.valid ? nlohmann::ordered_json(s) : nlohmann::ordered_json(nullptr);
    };
    nlohmann::ordered_json j;
    j["valid"] = info.valid;
    if (info.valid && info.kind != BarcodeKind::None)
        j["kind"] = info.kind == BarcodeKind::Bank ? "bank" : "collection";
    else
        j["kind"] = nullptr;
    j["barcode"] = textOrNull(info.barcode);
    j["line"] = textOrNull(info.line);
    j["value_cents"] = info.valid && info.valueCents ? nlohmann::ordered_json(*info.valueCents)
                                                     : nlohmann::ordered_json(nullptr);
    j["due"] = info.valid && !info.due.isEmpty() ? nlohmann::ordered_json(info.due.toString())
                                                 : nlohmann::ordered_json(nullptr);
    j["message"] =
        info.valid ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(info.message);
    return j.dump();
}

}  // namespace pag
