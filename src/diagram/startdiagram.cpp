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

// One zeroed block from the heap for a table indexed 1..count, reported to
// the heap monitor under `tag` (unless it is null).  Running out of memory
// is reported like an output failure.
void* takeblock(run::Run& run, size_t count, size_t recordsize, const char* tag) {
    size_t bytes = (count + 1) * recordsize;
    void* block = std::calloc(count + 1, recordsize);
    if (block == nullptr) {
        std::fputs("gridel: out of memory for the diagram tables\n", run.errors);
        throw run::ioerrorend("");
    }
    // A large table is filled page by page as the data is read: asking for
    // 2 MB pages where the system gives them on request spares a fault for
    // every 4 KB.  A system without them leaves the block as it is.
    constexpr uintptr_t hugepage = uintptr_t{2} << 20;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(block) + hugepage - 1) & ~(hugepage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(hugepage - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    if (tag != nullptr) heapalloc(run, tag, static_cast<int32_t>(bytes));
    return block;
}

}  // namespace

void startdiagram(run::Run& run, Diagram& d) {
    text::Text heading;
    text::settext(heading, "running at ");
    addtext(heading, run.stamp);
    putstr(run, 0, heading, 1, run::setlog);
    d.points.reset(static_cast<InvariantPoint*>(takeblock(run, maxpoints, sizeof(InvariantPoint), "inv")));
    d.lines.reset(static_cast<UnivariantLine*>(takeblock(run, maxlines, sizeof(UnivariantLine), "uni")));
    d.areas.reset(static_cast<ShadedArea*>(takeblock(run, maxareas, sizeof(ShadedArea), nullptr)));
    d.pointlines.assign(maxpoints + 1, 0);
    d.linelines.assign(maxlines + 1, 0);
    d.arealines.assign(maxareas + 1, 0);
    d.pointcolumns.assign(maxpoints + 1, 0);
    d.linecolumns.assign(maxlines + 1, 0);
    d.areacolumns.assign(maxareas + 1, 0);
}

}  // namespace gridel::diagram
