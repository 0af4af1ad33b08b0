// formats.cpp - findformat and formatnames.
#include "drawing/formats.h"

namespace gridel::drawing {

int findformat(std::string_view name) {
    for (int k = 0; k < formatcount; ++k)
        if (name == drawingformats[k].name) return k;
    return -1;
}

std::string formatnames(FormatSet set) {
    std::string list, last;
    for (const DrawingFormat& f : drawingformats) {
        if (set != FormatSet::all && f.always != (set == FormatSet::always)) continue;
        if (!last.empty()) list += list.empty() ? last : ", " + last;
        last = f.name;
    }
    return list.empty() ? last : list + " or " + last;
}

}  // namespace gridel::drawing
