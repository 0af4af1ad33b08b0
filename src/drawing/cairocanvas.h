// cairocanvas.h - placeholder until the cairo renderer lands.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "drawing/canvas.h"

enum class PageFormat { pdf, svg, png };

struct PageBox {
    long double left;
    long double bottom;
    long double right;
    long double top;
};

bool renderpage(PageFormat format, const PageBox& box, int dpi,
                const std::function<bool(const unsigned char*, size_t)>& write,
                const std::function<void(Canvas&)>& draw, std::string& reason);

bool inkbox(const std::function<void(Canvas&)>& draw, PageBox& box);
