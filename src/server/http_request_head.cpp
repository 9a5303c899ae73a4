#include "server/http_request_head.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "server/http_answers.h"

namespace pag::server {

namespace {

HeadVerdict refuse(int status, std::string message) {
    return {HeadVerdict::State::Refused, 0, status, std::move(message)};
}

HeadVerdict malformed(const std::string& what) {
    return refuse(400, "Requisição HTTP malformada: " + what + ".");
}

bool isTokenChar(unsigned char c) {
    return std::isalnum(c) ||
           std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

bool hasControl(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return (c < 0x20 && c != '\t') || c == 0x7f;
    });
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::optional<HeadVerdict> checkRequestLine(std::string_view line) {
    const size_t sp1 = line.find(' ');
    const size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp2 == std::string_view::npos || line.find(' ', sp2 + 1) != std::string_view::npos)
        return malformed("linha de requisição inválida");
    const std::string_view method = line.substr(0, sp1);
    const std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    const std::string_view version = line.substr(sp2 + 1);
    if (method.empty() || method.size() > 16 ||
        !std::all_of(method.begin(), method.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return malformed("método inválido");
    if (target.size() > 2048) return refuse(414, statusMessage(414, 0));
    if (target.empty() || target.front() != '/' || hasControl(target))
        return malformed("endereço inválido");
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return malformed("versão HTTP inválida");
    return std::nullopt;
}

struct BodyFraming {
    bool hasLength = false;
    bool chunked = false;
    bool isPost = false;
    std::string expect;
};

std::optional<HeadVerdict> checkHeaderLine(std::string_view line, size_t number,
                                           const HeadLimits& limits, BodyFraming& framing) {
    const std::string where = " (linha " + std::to_string(number) + ")";
    if (line.front() == ' ' || line.front() == '\t')
        return malformed("linha de cabeçalho continuada" + where);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return malformed("linha de cabeçalho sem ':'" + where);
    const std::string_view name = line.substr(0, colon);
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) {
            return isTokenChar(static_cast<unsigned char>(c));
        }))
        return malformed("nome de cabeçalho inválido" + where);
    const std::string_view value = trim(line.substr(colon + 1));
    if (hasControl(value)) return malformed("caractere de controle no cabeçalho" + where);
    const std::string key = lower(name);
    if (key == "content-length") {
        if (framing.hasLength) return malformed("Content-Length repetido");
        framing.hasLength = true;
        if (value.empty() ||
            !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return malformed("Content-Length inválido");
        const std::string_view digits =
            value.substr(std::min(value.find_first_not_of('0'), value.size()));
        // Compared as digits: a length of any size is judged without overflow.
        const std::string limit = std::to_string(limits.maxBodyBytes);
        if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit))
            return refuse(413, statusMessage(413, limits.maxBodyBytes));
    } else if (key == "transfer-encoding") {
        if (lower(value) != "chunked")
            return refuse(501, "Codificação de transferência não suportada: use Content-Length.");
        framing.chunked = true;
    } else if (key == "expect") {
        framing.expect = lower(value);
    }
    if (framing.hasLength && framing.chunked)
        return malformed("Content-Length junto com Transfer-Encoding");
    return std::nullopt;
}

}  // namespace

HeadVerdict checkRequestHead(std::string_view received, const HeadLimits& limits) {
    BodyFraming framing;
    size_t start = 0;
    size_t number = 0;
    for (;;) {
        const size_t lf = received.find('\n', start);
        if (lf == std::string_view::npos) break;
        if (lf == start || received[lf - 1] != '\r') return malformed("linha terminada sem CR LF");
        const std::string_view line = received.substr(start, lf - 1 - start);
        start = lf + 1;
        ++number;
        if (line.empty()) {
            if (number == 1) return malformed("linha de requisição vazia");
            if (framing.isPost && !framing.hasLength && !framing.chunked)
                return refuse(411, "Requisição sem tamanho declarado (Content-Length).");
            if (!framing.expect.empty() && framing.expect != "100-continue")
                return refuse(417, "Expectativa não suportada: " + framing.expect + ".");
            return {HeadVerdict::State::Complete, start, 0, {}};
        }
        if (number > limits.maxHeaderLines + 1) return refuse(431, statusMessage(431, 0));
        std::optional<HeadVerdict> refused;
        if (number == 1) {
            refused = checkRequestLine(line);
            framing.isPost = line.starts_with("POST ");
        } else {
            refused = checkHeaderLine(line, number, limits, framing);
        }
        if (refused) return *refused;
    }
    if (received.size() > limits.maxHeadBytes) return refuse(431, statusMessage(431, 0));
    if (received.size() - start > 8192) return refuse(431, statusMessage(431, 0));
    return {};
}

}  // namespace pag::server
