// linereport.h - the line report: with the `showlineinfo` option on, each
// line is shown in the log as resolved, as trimmed and as cut.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "diagram/model.h"
#include "run/run.h"

namespace gridel::geometry {

// Report line `line` to the log at stage 1 (limits resolved), 2 (trimmed to
// its limit points) or 3 (cut at the window).  Writes nothing unless
// `showlineinfo` is yes.
void linereport(run::Run& run, const diagram::Diagram& d, int16_t line, int stage);

// The rows a line's report wrote at stage 1, in order: the later stages
// show mostly the same points in the same order, so their rows are copied
// instead of written again.  One is kept for each line while it is
// assembled.
struct ReportRows {
    struct Row {
        uint64_t key[3];  // the point's x and y, bit for bit (see pointkey)
        char text[40];    // its row, as written
        int len;          // its length
    };
    std::vector<Row> first;  // stage 1's rows
    std::string block;       // stage 1's rows as written, each with its line end
    std::string scratch;     // a later stage's rows while they are gathered
};

// linereport, keeping its rows in `rows` (emptied at stage 1).
void linereport(run::Run& run, const diagram::Diagram& d, int16_t line, int stage, ReportRows& rows);

}  // namespace gridel::geometry
