// epsframe.h - the EPS document and the frame of the diagram: `openeps`
// creates the drawing file and writes its header, `drawframe` writes the
// title and info lines, the window box, the big and small ticks and the
// axis numbers.
#pragma once

#include <cstdint>

// Fixed layout of the page, in PostScript points; set again by `openeps`.
struct PageFrame {
    int16_t linewidth;  // width of the title block's lines
    int16_t left;       // page x of the window's xlow
    int16_t right;      // page x of the window's xhigh
    int16_t top;        // page y of the window's yhigh
    int16_t bottom;     // page y of the window's ylow
    int16_t fontsize;   // size of the header's font line
    float textx;        // x of the title and info lines
    float texty;        // running y of the title and info lines
};

extern PageFrame pageframe;

// The credit after the banner on the header's "%%Creator: " line.
constexpr const char* creatorcredit = "(phase diagram drawing)";

// Create gl-<suffix>.eps (its name goes to `drawingFileName`), open it as
// the channel `ps` and write the header straight to the file.
void openeps();

// The title and info lines, the window box, ticks and axis numbers.
void drawframe();
