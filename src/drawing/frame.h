// frame.h - the frame of the diagram: the title and info lines above the
// plot square, the window box, the big and small ticks and the axis
// numbers.
#pragma once

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "text/fixedtext.h"

// Draw the frame.  The title line reads " <banner> (running at <stamp>) ".
void drawframe(const Diagram& d, const Text& banner, const Text& stamp, Canvas& canvas);
