// outputfile.h - an output file, which never destroys what it replaces: it
// is written under a temporary name in the folder of the file it replaces
// (".<name>.XXXXXX") and takes its final name only when it is committed;
// until then the old file stays exactly as it was.  A final name that is a
// symbolic link to a regular file keeps the link: the file it points to is
// replaced.  A final name that exists and is not a regular file (a device
// such as /dev/null, a FIFO) is written directly.
#pragma once

#include <csignal>
#include <cstddef>
#include <cstdio>

// Room for a file's path as the system gives it (a symbolic link's target).
constexpr int pathcapacity = 4096;

// Bytes of an output file gathered before they are handed to the system:
// the file itself is unbuffered, so a drawing of many megabytes costs a
// copy a line and a system call a block, not a library call a line.
constexpr int stagingsize = 1 << 16;

// One output file, open as one of a run's channels.
struct OutputChannel {
    FILE* file;       // the open text file; null while closed (the screen uses stdout)
    char* buffer;     // bytes on their way to the file, taken from the heap while it is open
    int staged;       // bytes in `buffer`
    bool written;     // text was written since start-up (kept for channels 4..9)
    char path[256];   // full file name, for input/output error reports
    char target[pathcapacity];  // the file the temporary one replaces when committed
    char temp[pathcapacity];    // the temporary file being written
    volatile sig_atomic_t pending;  // `temp` exists and is neither committed nor removed
};

// Create the file `path` for writing as the channel: under a temporary name
// when it replaces a regular file or nothing, directly otherwise.  False
// when it cannot be created, with errno set; nothing is left behind then.
bool createoutput(OutputChannel& channel, const char* path);

// Append bytes to a channel's file (through its staging buffer); false on
// a write error, with errno set.
bool channelwrite(OutputChannel& channel, const char* bytes, size_t n);

// Hand the staged bytes to the system; false on a write error.
bool drainchannel(OutputChannel& channel);

// What closing an output file came to.
enum class Closed {
    done,          // closed, and committed or dropped as asked
    notcompleted,  // closing or committing failed (errno says why): the old file stays
    notremoved,    // closed, but its temporary file could not be removed
};

// Close a channel's file.  With `commit` a file written under a temporary
// name takes its final name; without, the temporary file is removed and the
// final name keeps what it had.  A file written directly is only closed.
Closed closeoutput(OutputChannel& channel, bool commit);
