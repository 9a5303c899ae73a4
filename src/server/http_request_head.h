#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pag::server {

// What the service makes of the head of a request (request line and header lines)
// as it arrives, before any body is read.
struct HeadVerdict {
    enum class State { Incomplete, Complete, Refused };
    State state = State::Incomplete;
    size_t headBytes = 0;  // Complete: where the body starts
    int status = 0;        // Refused: the HTTP status to answer
    std::string message;   // Refused: pt-BR
};

struct HeadLimits {
    size_t maxHeadBytes = 16 * 1024;
    size_t maxHeaderLines = 100;
    size_t maxBodyBytes = 64u * 1024u * 1024u;
};

// Checks every complete line received so far, so a malformed line or an announced
// body over the limit is refused as soon as its line arrives, without waiting for
// the rest of the head or reading any body: request line "METHOD /target HTTP/1.x";
// each header "Name: value" (token name, no control characters, no folded lines);
// Content-Length only digits, once, within the limit (413 above it); no
// Transfer-Encoding but "chunked", never together with Content-Length; a POST
// declares its length (411); Expect only "100-continue" (417).
HeadVerdict checkRequestHead(std::string_view received, const HeadLimits& limits);

}  // namespace pag::server
