// linereport.h - the line report: with the `showlineinfo` option on, each
// line is shown in the log as resolved, as trimmed and as cut.
#pragma once

#include <cstdint>
#include <vector>

#include "diagram/model.h"
#include "run/run.h"

// Report line `line` to the log at stage 1 (limits resolved), 2 (trimmed to
// its limit points) or 3 (cut at the window).  Writes nothing unless
// `showlineinfo` is yes.
void linereport(Run& run, const Diagram& d, int16_t line, int stage);

// The rows a line's report has written, by their point: the three stages
// mostly show the same points, so each row is written once and then
// copied.  One is kept for each line while it is assembled.
struct ReportRows {
    struct Row {
        long double x;   // the point
        long double y;
        char text[40];   // its row, as written
        int8_t len;      // its length; 0 for a free slot
    };
    std::vector<Row> slots;  // open addressing, a power of two in size
    int used = 0;            // slots in use
};

// linereport, keeping its rows in `rows` (emptied at stage 1).
void linereport(Run& run, const Diagram& d, int16_t line, int stage, ReportRows& rows);
