// items.cpp - itemid, linetitle, pointtitle and ItemGroup.
#include "drawing/items.h"

#include "text/numfmt.h"

namespace gridel::drawing {

namespace {

bool isletter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isidchar(char c) { return isletter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.'; }

std::string textof(const text::Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }

std::string numbertext(int k) { return textof(text::real2intstr(k)); }

// A word added to a list of words: a blank before it unless it is the
// first.
void addword(std::string& list, const text::Word& word) {
    if (!list.empty()) list += ' ';
    list.append(word.c, static_cast<size_t>(word.len));
}

// The phase list and the zero-mode phases in parentheses, as the log has
// them.
std::string phaselist(const text::Word* phases, int16_t n, const text::Word& zero1, const text::Word* zero2) {
    std::string list;
    for (int i = 1; i <= n; ++i) addword(list, phases[i]);
    if (zero1.len == 0) return list;
    if (!list.empty()) list += ' ';
    list += '(';
    list.append(zero1.c, static_cast<size_t>(zero1.len));
    if (zero2 != nullptr) {
        list += ' ';
        list.append(zero2->c, static_cast<size_t>(zero2->len));
    }
    list += ')';
    return list;
}

// "NAME", or "NAME: PARTS" when there are parts.
std::string titled(const text::Word& name, const std::string& parts) {
    std::string title = textof(name);
    if (!parts.empty()) title += ": ";
    return title + parts;
}

}  // namespace

std::string itemid(const text::Word& name, const char* kind, int k) {
    bool plain = name.len > 0 && isletter(name.c[0]);
    for (int i = 1; i < name.len && plain; ++i) plain = isidchar(name.c[i]);
    if (plain) return textof(name);
    return std::string(kind) + "-" + numbertext(k);
}

std::string linetitle(const diagram::UnivariantLine& line) {
    return titled(line.name, phaselist(line.phases, line.nphases, line.zeromode, nullptr));
}

std::string pointtitle(const diagram::InvariantPoint& point) {
    std::string parts = phaselist(point.phases, point.nphases, point.zeromode1, &point.zeromode2);
    if (point.crossover) {
        std::string crossing = "crossover of " + textof(point.crossline1) + " and " + textof(point.crossline2);
        parts += parts.empty() ? crossing : ", " + crossing;
    }
    return titled(point.name, parts);
}

std::string areaid(int16_t k) { return "area-" + numbertext(k); }

std::string areatitle(const diagram::ShadedArea& area, int16_t k) {
    std::string lines;
    for (int i = 1; i <= area.nnames; ++i) addword(lines, area.linenames[i]);
    return titled(diagram::areaname(k), lines);
}

ItemGroup::ItemGroup(Canvas& canvas, const std::string& id, const std::string& kind, const std::string& title)
    : canvas(canvas) {
    canvas.begingroup({{id.data(), static_cast<int32_t>(id.size())},
                       {kind.data(), static_cast<int32_t>(kind.size())},
                       {title.data(), static_cast<int32_t>(title.size())}});
}

}  // namespace gridel::drawing
