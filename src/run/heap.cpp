// heap.cpp - heapalloc.
#include "run/heap.h"

#include <cstdio>

#include "text/numfmt.h"

namespace gridel::run {

namespace {

void writeword(FILE* screen, const text::Word& w) { std::fwrite(w.c, 1, static_cast<size_t>(w.len), screen); }

}  // namespace

void heapalloc(Run& run, const char* tag, int32_t bytes) {
    run.heaptotal = static_cast<int32_t>(static_cast<uint32_t>(run.heaptotal) + static_cast<uint32_t>(bytes));
    if (!run.settings.monitorheap || run.checking) return;
    text::Word t;
    text::settext(t, tag);
    // Straight to standard output: neither the log nor the page-width cut sees it.
    std::fputs("space allocated for ", run.screen);
    writeword(run.screen, t);
    std::fputs(" is ", run.screen);
    writeword(run.screen, text::real2intstr(text::roundint(static_cast<double>(bytes) / 1024.0)));
    std::fputs("k; , heap now ", run.screen);
    writeword(run.screen, text::real2intstr(text::roundint(static_cast<double>(run.heaptotal) / 1024.0)));
    std::fputs("k\n", run.screen);
}

}  // namespace gridel::run
