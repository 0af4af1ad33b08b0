// startdiagram.cpp - the log heading and the creation of the large tables.
#include "diagram/startdiagram.h"

#include <cstdio>
#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>

#include "diagram/model.h"
#include "run/channels.h"
#include "run/failure.h"
#include "run/heap.h"

namespace gridel::diagram {

namespace {

// One zeroed block of `bytes` from the heap.  Running out of memory is
// reported like an output failure.
void* zeroedblock(run::Run& run, size_t bytes) {
    void* block = std::calloc(1, bytes);
    if (block == nullptr) {
        std::fputs("gridel: out of memory for the diagram tables\n", run.errors);
        throw run::ioerrorend("");
    }
    return block;
}

// One zeroed block for a table indexed 1..count.  A large table is filled
// page by page as the data is read: asking for 2 MB pages where the system
// gives them on request spares a fault for every 4 KB.  A system without
// them leaves the block as it is.
void* takeblock(run::Run& run, size_t count, size_t recordsize) {
    size_t bytes = (count + 1) * recordsize;
    void* block = zeroedblock(run, bytes);
    constexpr uintptr_t hugepage = uintptr_t{2} << 20;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(block) + hugepage - 1) & ~(hugepage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(hugepage - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    return block;
}

// The lines' point store: a room for the x and one for the y of each line
// 0..maxlines, each beginning a page (the block has a page to spare for
// that).  It is left in small pages, so that only the pages a line's
// points fill are ever taken from the system: most of each room stays
// unused.
void takepointstore(run::Run& run, Diagram& d) {
    constexpr size_t rooms = 2 * (static_cast<size_t>(maxlines) + 1);
    constexpr size_t bytes = rooms * linepointroom * sizeof(long double) + storepage;
    d.pointstore.reset(static_cast<long double*>(zeroedblock(run, bytes)));
    const uintptr_t at = reinterpret_cast<uintptr_t>(d.pointstore.get());
    long double* room = reinterpret_cast<long double*>((at + storepage - 1) & ~(uintptr_t{storepage} - 1));
    for (int k = 0; k <= maxlines; ++k) {
        d.lines[k].x = room;
        d.lines[k].y = room + linepointroom;
        room += 2 * linepointroom;
    }
}

}  // namespace

void startdiagram(run::Run& run, Diagram& d) {
    text::Text heading;
    text::settext(heading, "running at ");
    addtext(heading, run.stamp);
    putstr(run, 0, heading, 1, run::setlog);
    d.points.reset(static_cast<InvariantPoint*>(takeblock(run, maxpoints, sizeof(InvariantPoint))));
    run::heapalloc(run, "inv", static_cast<int32_t>((maxpoints + 1) * sizeof(InvariantPoint)));
    // The lines are reported as one table of records, each with room for
    // its points 0..linecapacity: the size the heap monitor has always
    // said, whatever slack the rooms' page alignment adds.
    d.lines.reset(static_cast<UnivariantLine*>(takeblock(run, maxlines, sizeof(UnivariantLine))));
    takepointstore(run, d);
    run::heapalloc(run, "uni", static_cast<int32_t>((maxlines + 1) * linetablerecord));
    d.areas.reset(static_cast<ShadedArea*>(takeblock(run, maxareas, sizeof(ShadedArea))));
    d.pointlines.assign(maxpoints + 1, 0);
    d.linelines.assign(maxlines + 1, 0);
    d.arealines.assign(maxareas + 1, 0);
    d.pointcolumns.assign(maxpoints + 1, 0);
    d.linecolumns.assign(maxlines + 1, 0);
    d.areacolumns.assign(maxareas + 1, 0);
}

}  // namespace gridel::diagram
