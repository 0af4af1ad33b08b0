// cairocanvas.cpp - placeholder until the cairo renderer lands.
#include "drawing/cairocanvas.h"

bool renderpage(PageFormat, const PageBox&, int, const std::function<bool(const unsigned char*, size_t)>&,
                const std::function<void(Canvas&)>&, std::string& reason) {
    reason = "not built";
    return false;
}

bool inkbox(const std::function<void(Canvas&)>&, PageBox&) { return false; }
