#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace pag {

class Database;

// A database of its own on a shared PostgreSQL server: a fresh schema, first on the
// search path of every connection opened with connectionString() (the server's own
// functions stay reachable through "public"), dropped with everything in it when this
// object goes. Tests and scenario runs use it so that parallel runs on one server
// never see each other's tables.
class ScratchSchema {
public:
    // serverUri: a libpq URI ("postgresql://..."); prefix names the schema's owner
    // ("t", "cenario"), followed by the process id and a random number.
    ScratchSchema(const std::string& serverUri, std::string_view prefix);
    ~ScratchSchema();
    ScratchSchema(const ScratchSchema&) = delete;
    ScratchSchema& operator=(const ScratchSchema&) = delete;

    const std::string& name() const { return name_; }
    const std::string& connectionString() const { return uri_; }

private:
    std::string name_;
    std::string serverUri_;
    std::string uri_;
};

// The libpq URI `uri` with `schema` first on its search path (then "public").
std::string withSearchPath(const std::string& uri, const std::string& schema);

}  // namespace pag
