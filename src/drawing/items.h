// items.h - the items of the drawing as groups: their ids, classes and
// titles, and a group held open while an item is drawn.
#pragma once

#include <string>

#include "diagram/model.h"
#include "drawing/canvas.h"

namespace gridel::drawing {

// The id of a line or a point: its name when that is a plain identifier
// (ASCII letters, digits, "-", "_" and "." after a letter); else `kind`-k,
// with its number in the table.  An id given twice is the canvas's to
// tell apart.
std::string itemid(const text::Word& name, const char* kind, int k);

// The titles of a line and of a point: the name, then the phases as the
// log lists them ("u3: ky sill (and)"), and the lines a crossover point
// lies on ("i2: crossover of u5 and u3").
std::string linetitle(const diagram::UnivariantLine& line);
std::string pointtitle(const diagram::InvariantPoint& point);

// The id of shaded area k ("area-4") and its title, with the lines that
// bound it ("area 4: u1 u3 u5").
std::string areaid(int16_t k);
std::string areatitle(const diagram::ShadedArea& area, int16_t k);

// The marks drawn while it lives are one item.
class ItemGroup {
public:
    ItemGroup(Canvas& canvas, const std::string& id, const std::string& kind, const std::string& title = "");
    ~ItemGroup() { canvas.endgroup(); }
    ItemGroup(const ItemGroup&) = delete;
    ItemGroup& operator=(const ItemGroup&) = delete;

private:
    Canvas& canvas;
};

}  // namespace gridel::drawing
