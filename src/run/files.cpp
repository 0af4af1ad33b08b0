// files.cpp - promptdatafile and openoutput.
#include "run/files.h"

#include <cerrno>
#include <cstdio>

#include "run/failure.h"

namespace {

const size_t outputbuffer = 1 << 16;  // bytes of stdio buffering per output file

// The buffers themselves, one for each channel: given no buffer, the C
// library would use one of its own size (a block, 4 KB) whatever size is
// asked for, and a drawing of many megabytes would take thousands of writes.
char buffers[10][outputbuffer];

}  // namespace

Text promptdatafile(const char* prefix, Word& suffix, LineReader& file) {
    if (suffix.len == 0) suffix = promptword("suffix to name for datafile");
    if (suffix.len == 0) bombed("promptdatafile", "expecting a suffix for data filename");
    Text name;
    settext(name, prefix);
    addtext(name, suffix);
    addtext(name, ".txt");
    char path[256];
    if (!tocstring(name, path) || !openreader(file, path)) {
        Text m;
        settext(m, "cannot locate file \"");
        addtext(m, name);
        addtext(m, "\"");
        putstr(1, m, 1, setwoutlog);
        bombed("promptdatafile", "datafile needed");
    }
    return name;
}

Text openoutput(const char* name, const Word& extension, OutputChannel& channel) {
    Text full;
    settext(full, name);
    addtext(full, extension);
    char path[256];
    if (!tocstring(full, path)) {  // a name holding a NUL byte cannot be created
        for (int i = 0; i < full.len; ++i) path[i] = full.c[i] == '\0' ? '?' : full.c[i];
        path[full.len] = '\0';
        errno = EINVAL;
        ioerror(path);
    }
    std::memcpy(channel.path, path, sizeof channel.path);
    FILE* f = std::fopen(path, "w");
    if (f == nullptr) ioerror(path);
    char* buffer = nullptr;  // a channel outside the table gets the library's own
    for (int k = 0; k < 10; ++k)
        if (&channel == &channels[k]) buffer = buffers[k];
    std::setvbuf(f, buffer, _IOFBF, outputbuffer);
    channel.file = f;
    channel.written = false;
    return full;
}
