// drawdiagram.h - the drawing driver: the EPS file with its two text
// procedures, then the geometry and the drawing steps in their fixed order.
#pragma once

// Open gl-<suffix>.eps and draw the whole diagram into it: areas first
// (when `doareas` is yes), then the frame, the lines, and the points (when
// `docircles` is yes; their circles are solid whatever the last line's
// dash).  The file stays open for `closeall`.
void drawdiagram();
