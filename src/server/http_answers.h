#pragma once

#include <cstddef>
#include <string>

namespace pag::server {

inline constexpr const char* kJsonContentType = "application/json; charset=utf-8";

// The pt-BR text of a refusal the HTTP layer makes by itself (maxBody: the body
// limit, named by 413).
std::string statusMessage(int status, size_t maxBody);

// A whole HTTP/1.1 answer with the protocol's failure body, closing the connection:
// for refusals made before the request reaches the router.
std::string refusalResponse(int status, const std::string& message);

}  // namespace pag::server
