// scriptkeywords.h - the keywords of the script by name, for the hints
// about slips and for the reference: each keyword with its arguments as the
// reference writes them, read from the tables that also say how each is
// read (readscript.cpp, figurekeywords.cpp).
#pragma once

#include <string>
#include <vector>

#include "text/fixedtext.h"

namespace gridel::diagram {

// A keyword and its arguments as the reference writes them.
struct KeywordName {
    const char* name;
    const char* arguments;
};

// The keywords every data file's script may hold, and those of a figure
// for print, each in the order the reference lists them.
std::vector<KeywordName> scriptkeywordlist();
std::vector<KeywordName> figurekeywordlist();

// True when the word is a keyword of the script.
bool isscriptkeyword(text::TextView word);

// The keyword of the script that `word` is a slip of, or "".
std::string nearestscriptkeyword(const std::string& word);

}  // namespace gridel::diagram
