#include "platform/sql/scratch_schema.h"

#include <unistd.h>

#include <cstdio>
#include <random>

#include "platform/sql/database.h"

namespace pag {

std::string withSearchPath(const std::string& uri, const std::string& schema) {
    // libpq decodes the URI's percent escapes: "-c search_path=S,public".
    const char sep = uri.find('?') == std::string::npos ? '?' : '&';
    return uri + sep + "options=-c%20search_path%3D" + schema + "%2Cpublic";
}

ScratchSchema::ScratchSchema(const std::string& serverUri, std::string_view prefix)
    : serverUri_(serverUri) {
    std::random_device rd;
    name_ = std::string(prefix) + "_" + std::to_string(::getpid()) + "_" +
            std::to_string(rd() % 1000000000u);
    Database(serverUri_).exec("CREATE SCHEMA " + name_);
    uri_ = withSearchPath(serverUri_, name_);
}

ScratchSchema::~ScratchSchema() {
    try {
        Database(serverUri_).exec("DROP SCHEMA IF EXISTS " + name_ + " CASCADE");
    } catch (const DatabaseError& e) {
        // A destructor cannot throw: say what was left behind.
        std::fprintf(stderr, "o esquema %s ficou no banco: %s\n", name_.c_str(), e.what());
    }
}

}  // namespace pag
