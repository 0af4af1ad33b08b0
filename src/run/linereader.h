// linereader.h - text files and the keyboard read line by line through a
// buffer of their own.
//
// A line ends at LF, at CR LF or at a lone CR, so files saved on any system
// read the same; the line-end bytes never become part of a word.  A line is
// read whole, up to `maxlinelength` characters; a longer one is refused, so
// that input that never ends a line cannot take unbounded memory.
#pragma once

#include <cstdint>
#include <string>

namespace gridel::run {

constexpr int readbuffersize = 1 << 16;

// The longest line read, in characters.
constexpr int32_t maxlinelength = 1048576;

// The failure text of a longer line.
constexpr const char* toolongmessage = "line longer than 1048576 characters";

// A text file (or the keyboard) read line by line through its own buffer.
struct LineReader {
    int fd;                 // open file descriptor, -1 when closed
    int pos;                // next unread byte in buf
    int end;                // bytes in buf
    bool ended;             // the descriptor has reported its end
    bool failed;            // a read failed
    bool pendingcr;         // the last line ended at CR: an LF right after belongs to it
    int32_t lineno;         // number of the line read last (1 for the first), 0 before any
    bool keyboard;          // standard input: a closed one has simply nothing to read
    bool regular;           // a regular file, whose reads never wait
    const char* memory;     // a text read from memory instead of a file; null for a file
    size_t memorysize;      // its bytes
    size_t memoryat;        // the next of them to read
    char buf[readbuffersize];  // bytes read ahead
};

// Make the reader the keyboard: standard input.
void openkeyboard(LineReader& reader);

// Open a text file for reading; false when it cannot be opened, with errno
// set (EISDIR for a folder).  A UTF-8 byte order mark at its start is
// skipped.
bool openreader(LineReader& reader, const char* path);

// Open a text held in memory for reading, as a regular file holding it
// would be read; `text` must outlive the reader.
void openmemoryreader(LineReader& reader, const std::string& text);

// Close the file; false when closing failed.
bool closereader(LineReader& reader);

// True when nothing more can be read.
bool atend(LineReader& reader);

// Result of reading one line.
enum ReadResult {
    readok,       // a line was read
    readatend,    // nothing more to read
    readfailed,   // the system reported an error
    readtoolong,  // the line passes maxlinelength (what was read stays in `line`)
};

// Read one whole line into `line`, without its line end.
ReadResult readline(LineReader& reader, std::string& line);

// Read one line and forget it (the answer to "hit return").
ReadResult skipline(LineReader& reader);

}  // namespace gridel::run
