// shown.h - bytes made safe to show on a terminal: the texts of messages on
// standard error, which quote words and lines of the user's files.
//
// A file may hold any byte, and some (ESC, CR, the C1 controls) make a
// terminal move its cursor, change its title or run its own commands.  In a
// shown text every such byte is written as \xNN: the C0 controls except tab,
// DEL, the C1 controls written in UTF-8 (U+0080..U+009F), and every byte
// that is not part of well-formed UTF-8.  Tabs, printable ASCII and the
// other UTF-8 characters are kept.
#pragma once

#include <cstddef>
#include <string>

namespace gridel::text {

// Append the bytes s[0..n-1] to `out` as shown.
void appendshown(std::string& out, const char* s, size_t n);

inline std::string shownbytes(const char* s, size_t n) {
    std::string out;
    appendshown(out, s, n);
    return out;
}

inline std::string shownbytes(const std::string& s) { return shownbytes(s.data(), s.size()); }

// Blanks as wide on a terminal as a shown text (one column a character, a
// tab kept as a tab), to put a mark under a place in it.
std::string blanksunder(const std::string& shown);

// The number of columns a shown text takes (a tab counts one).
size_t showncolumns(const std::string& shown);

}  // namespace gridel::text
