#pragma once
// The version and the commit of this build.

#include <string>
#include <string_view>

namespace sorvanta {

// "3.5"
std::string_view BuildVersion();
// "1a2b3c4d5e6f", "1a2b3c4d5e6f-dirty" (built with changes not committed) or
// "unknown" (built from a copy without git).
std::string_view BuildCommit();
// "sorvanta-calc 3.5 (commit 1a2b3c4d5e6f)", the line of --version.
std::string VersionLine(std::string_view program);

}  // namespace sorvanta
