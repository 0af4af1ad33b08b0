// drawdiagram.h - the EPS drawing: the document, its frame and the order of
// the drawing steps.
#pragma once

// Open gl-<suffix>.eps and draw the whole diagram into it.
void drawdiagram();
