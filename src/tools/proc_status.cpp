#include "tools/proc_status.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace pag::tools {

long statusKiB(const std::string& pid, const char* key) {
    std::ifstream f("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
    return 0;
}

}  // namespace pag::tools
