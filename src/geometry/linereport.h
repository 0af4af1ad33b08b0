// linereport.h - the line report: with the `showlineinfo` option on, each
// line is shown in the log as resolved, as trimmed and as cut.
#pragma once

#include <cstdint>

#include "diagram/model.h"
#include "run/run.h"

// Report line `line` to the log at stage 1 (limits resolved), 2 (trimmed to
// its limit points) or 3 (cut at the window).  Writes nothing unless
// `showlineinfo` is yes.
void linereport(Run& run, const Diagram& d, int16_t line, int stage);
