// bytesink.h - where a written document's bytes go: an output file of a
// run, or memory.  Every canvas that writes a document writes it to a
// sink, so the same drawing can be made on disk or in memory.
#pragma once

#include <cstddef>
#include <string>

namespace gridel::run {

class ByteSink {
public:
    virtual ~ByteSink() = default;

    // Take `n` bytes; false when they could not be taken, with errno set.
    virtual bool write(const char* bytes, size_t n) = 0;

    // Take a line of text and a line end after it.  A writer of text lines
    // hands each over whole, so that a sink may keep lines whole.
    virtual bool line(const char* text, size_t n) { return write(text, n) && write("\n", 1); }
};

// A sink that keeps every byte in memory; it never fails.
class MemorySink final : public ByteSink {
public:
    bool write(const char* bytes, size_t n) override {
        kept.append(bytes, n);
        return true;
    }

    std::string kept;  // every byte taken, in order
};

}  // namespace gridel::run
