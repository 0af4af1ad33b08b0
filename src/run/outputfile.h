// outputfile.h - an output file, which never destroys what it replaces: it
// is written under a temporary name in the folder of the file it replaces
// and takes its final name only when it is committed (see commit.h); until
// then the old file stays exactly as it was.  A final name that is a
// symbolic link to a regular file keeps the link: the file it points to is
// replaced.  A final name that exists and is not a regular file (a device
// such as /dev/null, a FIFO) is written directly.
//
// The temporary name is ".<name>.XXXXXX" (six random characters); when that
// would pass the file system's limit on a name, the end of <name> gives way
// to "~" and sixteen hexadecimal digits that stand for the whole name, so
// that every legal final name has a legal temporary one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace gridel::run {

// Room for a file's path as the system gives it (a symbolic link's target).
constexpr int pathcapacity = 4096;

// Bytes of an output file gathered before they are handed to the system:
// the file itself is unbuffered, so a drawing of many megabytes costs a
// copy a line and a system call a block, not a library call a line.
constexpr int stagingsize = 1 << 16;

// The random characters that end a temporary name.
constexpr size_t randomtail = 6;

// What comes between the hidden stem and the random tail in the name of a
// file's copy while a commit replaces it: ".<name>.old.XXXXXX".  A copy
// that is the only one left of an earlier file is kept for its user; one
// that is a second name of the file in place is removed by a later run.
inline const std::string oldmark = ".old.";

// One output file, open as one of a run's channels.
struct OutputChannel {
    FILE* file;       // the open text file; null while closed (the screen uses stdout)
    char* buffer;     // bytes on their way to the file, taken from the heap while it is open
    int staged;       // bytes in `buffer`
    bool pending;     // `temp` exists and is neither committed nor removed
    char path[256];   // full file name, for input/output error reports
    char target[pathcapacity];  // the file the temporary one replaces when committed
    char temp[pathcapacity];    // the temporary file being written
    char* memory;               // the bytes of an output made in memory, once closed; null for none
    size_t memorysize;          // their count
};

// Create the file `path` for writing as the channel: under a temporary name
// when it replaces a regular file or nothing, directly otherwise.  False
// when it cannot be created, with errno set; nothing is left behind then.
bool createoutput(OutputChannel& channel, const char* path);

// Open the channel as an output named `path` that is made in memory: no
// file is created, and its bytes are in `memory` once it is finished (see
// finishoutput) until it is dropped.  False when memory is short.
bool creatememoryoutput(OutputChannel& channel, const char* path);

// Append bytes to a channel's file (through its staging buffer); false on
// a write error, with errno set.
bool channelwrite(OutputChannel& channel, const char* bytes, size_t n);

// Hand the staged bytes to the system; false on a write error.
bool drainchannel(OutputChannel& channel);

// Write out the staged bytes and close the file; a temporary file is first
// made durable (fsync), so that its name can be given to it safely.  False
// when a byte could not be written or kept, with errno set; the file is
// closed either way, and its temporary file, if any, stays for
// `commitoutputs` or `dropoutput`.
bool finishoutput(OutputChannel& channel);

// Close the file if it is open and remove its temporary file, if any: the
// final name keeps what it had.  False when the temporary file could not be
// removed.
bool dropoutput(OutputChannel& channel);

// The hidden name that stands for `name` in a folder whose names may have
// `namemax` characters, before a tail of `taillength` characters: "." and
// the name, or its shortened form (see above).
std::string hiddenstem(const std::string& name, size_t taillength, size_t namemax);

// The longest name the folder `folder` ("" for the current one) takes.
size_t namelimit(const char* folder);

}  // namespace gridel::run
