// areas.h - shaded areas: each traced along its lines and the window's
// border and filled in its colour.
#pragma once

// Paint every area into the drawing, under the frame, lines and points.
void drawareas();
