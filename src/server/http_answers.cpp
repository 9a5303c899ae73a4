#include "server/http_answers.h"

#include "contracts/transport_protocol.h"

namespace pag::server {

namespace {

std::string sizeText(size_t bytes) {
    constexpr size_t MiB = 1024u * 1024u;
    if (bytes >= MiB && bytes % MiB == 0) return std::to_string(bytes / MiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

const char* reasonPhrase(int status) {
    switch (status) {
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 404:
            return "Not Found";
        case 408:
            return "Request Timeout";
        case 411:
            return "Length Required";
        case 413:
            return "Payload Too Large";
        case 414:
            return "URI Too Long";
        case 417:
            return "Expectation Failed";
        case 431:
            return "Request Header Fields Too Large";
        case 501:
            return "Not Implemented";
        case 503:
            return "Service Unavailable";
        default:
            return status >= 500 ? "Internal Server Error" : "Bad Request";
    }
}

}  // namespace

std::string statusMessage(int status, size_t maxBody) {
    switch (status) {
        case 400:
            return "Requisição HTTP malformada.";
        case 401:
            return "Acesso negado: token de acesso ausente ou inválido.";
        case 404:
            return "Recurso não encontrado. Use POST /call ou GET /health.";
        case 408:
            return "Tempo esgotado ao receber a requisição.";
        case 413:
            return "Requisição grande demais: o limite é de " + sizeText(maxBody) + ".";
        case 414:
            return "Endereço da requisição longo demais.";
        case 431:
            return "Cabeçalho da requisição grande demais.";
        case 503:
            return "Servidor ocupado: conexões demais abertas. Tente novamente.";
        default:
            if (status >= 500)
                return "Erro interno do serviço (HTTP " + std::to_string(status) + ").";
            return "Requisição recusada (HTTP " + std::to_string(status) + ").";
    }
}

std::string refusalResponse(int status, const std::string& message) {
    const std::string body = encodeFailure(message);
    return "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) +
           "\r\nContent-Type: " + kJsonContentType +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

}  // namespace pag::server
