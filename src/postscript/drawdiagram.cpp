// drawdiagram.cpp - drawdiagram.
#include "postscript/drawdiagram.h"

#include "diagram/model.h"
#include "geometry/areas.h"
#include "geometry/assembly.h"
#include "geometry/crossovers.h"
#include "postscript/drawlines.h"
#include "postscript/drawpoints.h"
#include "postscript/epsframe.h"
#include "run/channels.h"

void drawdiagram() {
    openeps();
    // centreshow: x y (text) centred on x; rightshow: ending at x.
    putstr(1, "/centreshow {dup stringwidth  pop 2 div", 1, setps);
    putstr(0, "   4 -1 roll exch sub   3 -1 roll moveto  show} def", 2, setps);
    putstr(1, "/rightshow {dup stringwidth  pop", 1, setps);
    putstr(0, "   4 -1 roll exch sub   3 -1 roll moveto  show} def", 2, setps);
    channels[chps].written = true;  // committed when the run ends normally

    placecrossovers();
    assemblelines();
    if (isyes(drawingoptions.doareas)) drawareas();
    drawframe();
    bool dashed = drawlines();
    if (isyes(drawingoptions.docircles)) drawpoints(dashed);
}
