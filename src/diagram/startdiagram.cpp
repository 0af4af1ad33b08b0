// startdiagram.cpp - the log heading and the creation of the large tables.
#include "diagram/startdiagram.h"

#include <cstdlib>

#include "diagram/model.h"
#include "run/channels.h"
#include "run/failure.h"
#include "run/settings.h"
#include "text/heap.h"

namespace {

// One zeroed block from the heap for a table indexed 1..count; it lives for
// the whole run.  Running out of memory is reported like an output failure.
void* takeblock(size_t count, size_t recordsize, const char* tag) {
    size_t bytes = (count + 1) * recordsize;
    void* block = std::calloc(count + 1, recordsize);
    if (block == nullptr) {
        std::fputs("gridel: out of memory for the diagram tables\n", stderr);
        closeonerror("");
        std::exit(exitioerror);
    }
    heapalloc(tag, static_cast<int32_t>(bytes));
    return block;
}

}  // namespace

void startdiagram() {
    Text heading;
    settext(heading, "running at ");
    addtext(heading, runstamp);
    putstr(0, heading, 1, setlog);
    if (points == nullptr)
        points = static_cast<InvariantPoint*>(takeblock(maxpoints, sizeof(InvariantPoint), "inv"));
    if (lines == nullptr)
        lines = static_cast<UnivariantLine*>(takeblock(maxlines, sizeof(UnivariantLine), "uni"));
}
