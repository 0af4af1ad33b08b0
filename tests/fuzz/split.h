// split.h - how one fuzz input holds a preferences file and a data file.
#pragma once

#include <string>

namespace fuzzsplit {

struct Parts {
    std::string prefs;  // contents of gl-prefs.txt
    std::string data;   // contents of gl-fuzz.txt
};

// "@prefs\n<prefs lines>@data\n<data>" gives both; any other input is the
// data file alone, with the preferences "datafile fuzz".
inline Parts split(const std::string& input) {
    Parts p;
    const std::string head = "@prefs\n", mark = "@data\n";
    if (input.compare(0, head.size(), head) == 0) {
        size_t at = input.find(mark, head.size());
        if (at != std::string::npos) {
            p.prefs = input.substr(head.size(), at - head.size());
            p.data = input.substr(at + mark.size());
            return p;
        }
    }
    p.prefs = "datafile fuzz\n";
    p.data = input;
    return p;
}

}  // namespace fuzzsplit
