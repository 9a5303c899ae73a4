#pragma once

#include <stdexcept>
#include <string>

namespace pag::server {

// A business refusal: the call is rolled back and the text (pt-BR, ready to show) is
// the failure message the screen shows.
class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace pag::server
