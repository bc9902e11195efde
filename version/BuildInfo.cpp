#include "BuildInfo.h"

namespace sorvanta {

std::string VersionLine(std::string_view program) {
    std::string line(program);
    line += ' ';
    line += BuildVersion();
    line += " (commit ";
    line += BuildCommit();
    line += ')';
    return line;
}

}  // namespace sorvanta
