// drawpoints.h - the invariant points in the drawing: a circle at each
// point inside the window and, with numbering, its number on the circle.
#pragma once

// Draw every point that lies strictly inside the window, in table order.
void drawpoints();
