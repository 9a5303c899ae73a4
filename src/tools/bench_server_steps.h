#pragma once

// The server's side of the bench: `call GetBoletos` in a process of its own, and a
// `serve` process answering several clients at once.
#include <string>
#include <vector>

#include "platform/value.h"

namespace pag::tools {

struct CallFigures {
    double ms = 0;
    double peakMiB = 0;    // resident memory the call added at its peak
    double answerMiB = 0;  // the rows' own bytes
    long rows = 0;
    std::string failure;
};
// One GetBoletos with these arguments in a fresh `pag12000` process, over the
// in-process transport (after a first call that opens the database).
CallFigures RunInProcessCall(const std::string& path, const std::vector<Value>& warmArgs,
                             const std::vector<Value>& args);
// The child's side of RunInProcessCall: bench call-child DB WARMARGS ARGS (JSON files).
int RunCallChild(int argc, char** argv);

struct ServeFigures {
    double p50 = 0;        // ms a call, over every client's calls
    double serverMiB = 0;  // the serve process's peak resident memory
    long rows = 0;
    std::string failure;
};
// `pag12000 serve` on loopback, `clients` connections calling GetBoletos `calls`
// times each, all at once.
ServeFigures RunServe(const std::string& path, const std::vector<Value>& args, int clients,
                      int calls);

}  // namespace pag::tools
