// drawpoints.h - the invariant points in the drawing: a circle at each
// point inside the window and, with numbering, its number on the circle.
#pragma once

// Draw every point that lies strictly inside the window, in table order.
// `dashed`: the dash pattern in force is dashed (the last line drawn was),
// so it is set solid once, before the first circle.
void drawpoints(bool dashed);
