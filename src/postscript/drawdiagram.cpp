// drawdiagram.cpp - the drawing driver (not drawing anything yet).
#include "postscript/drawdiagram.h"

void drawdiagram() {}
