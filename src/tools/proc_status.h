#pragma once

#include <string>

namespace pag::tools {

// A "VmXXX:" line of /proc/PID/status ("self" for this process), in KiB (0 when missing).
long statusKiB(const std::string& pid, const char* key);

}  // namespace pag::tools
