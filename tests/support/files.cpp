// files.cpp - whole files and Ghostscript.
#include "support/files.h"
#include "support/floors.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace testsupport {

std::string readfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writefile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string runcommand(const std::string& command, int& status) {
    std::string output;
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) {
        status = -1;
        return output;
    }
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) output.append(buf, n);
    int rc = pclose(p);
    status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

std::string ghostscript(const std::string& epspath) {
    int status;
    std::string probe = runcommand("command -v gs 2>/dev/null", status);
    if (status != 0 || probe.empty())
        return "Ghostscript (gs) is not installed: the README's test command installs it";
    std::string out = runcommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage '" + epspath +
                                     "' </dev/null 2>&1",
                                 status);
    if (status != 0 || !out.empty())
        return "Ghostscript rejects " + epspath + " (status " + std::to_string(status) + "):\n" + out;
    return "";
}

}  // namespace testsupport
