// outputfile.cpp - output files created under temporary names, written
// through their staging buffers, finished and dropped.
#include "run/outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdlib>
#include <cstring>

#include "run/faultpoint.h"

namespace gridel::run {

namespace {

// Where an output file's bytes go.
enum class Destination {
    fresh,    // nothing is there: a new file
    regular,  // a regular file, replaced when committed
    direct,   // anything else: written in place (or the open reports why not)
};

// Follow symbolic links from `name` (at most 40) to the file its bytes would
// reach; that path goes to `target`, and an existing file's permissions to
// `mode`.
Destination resolve(const char* name, char (&target)[pathcapacity], mode_t& mode) {
    char at[pathcapacity];
    if (std::strlen(name) >= sizeof at) return Destination::direct;
    std::strcpy(at, name);
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat st;
        if (::lstat(at, &st) != 0) {
            if (errno != ENOENT) return Destination::direct;
            std::strcpy(target, at);
            return Destination::fresh;
        }
        if (S_ISREG(st.st_mode)) {
            std::strcpy(target, at);
            mode = st.st_mode & 07777;
            return Destination::regular;
        }
        if (!S_ISLNK(st.st_mode)) return Destination::direct;
        char link[pathcapacity];
        ssize_t n = ::readlink(at, link, sizeof link - 1);
        if (n < 0) return Destination::direct;
        link[n] = '\0';
        // A relative link is read from the folder that holds it.
        const char* slash = link[0] == '/' ? nullptr : std::strrchr(at, '/');
        size_t keep = slash != nullptr ? static_cast<size_t>(slash - at) + 1 : 0;
        if (keep + static_cast<size_t>(n) >= sizeof at) return Destination::direct;
        std::memcpy(at + keep, link, static_cast<size_t>(n) + 1);
    }
    return Destination::direct;  // a loop of links: the open reports it
}

// The temporary name beside `target`, for mkstemp: its folder, the hidden
// stem of its name and ".XXXXXX".
bool tempname(const char* target, char (&temp)[pathcapacity]) {
    const char* slash = std::strrchr(target, '/');
    std::string folder(target, slash != nullptr ? static_cast<size_t>(slash - target) + 1 : 0);
    std::string name = target + folder.size();
    std::string whole = folder + hiddenstem(name, 1 + randomtail, namelimit(folder.c_str())) + "." +
                        std::string(randomtail, 'X');
    if (whole.size() >= sizeof temp) return false;
    std::memcpy(temp, whole.c_str(), whole.size() + 1);
    return true;
}

// The permissions a newly created file gets: 0666 less the umask.
mode_t freshmode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string hiddenstem(const std::string& name, size_t taillength, size_t namemax) {
    std::string stem = ".";
    if (1 + name.size() + taillength <= namemax) return stem += name;
    // 64-bit FNV-1a of the whole name.
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016" PRIx64, hash);
    size_t room = namemax > 1 + 17 + taillength ? namemax - 1 - 17 - taillength : 0;
    stem.append(name, 0, room);
    stem += '~';
    return stem += digits;
}

size_t namelimit(const char* folder) {
    long limit = ::pathconf(*folder != '\0' ? folder : ".", _PC_NAME_MAX);
    return limit > 0 ? static_cast<size_t>(limit) : 255;
}

bool createoutput(OutputChannel& channel, const char* path) {
    std::snprintf(channel.path, sizeof channel.path, "%s", path);
    channel.pending = false;
    FILE* f = nullptr;
    mode_t mode = 0;
    Destination where = resolve(path, channel.target, mode);
    if (where == Destination::direct) {
        f = std::fopen(path, "w");
        if (f == nullptr) return false;
    } else {
        // A write-protected file stays protected, as it would be if opened
        // for writing in place.
        if (where == Destination::regular && ::access(channel.target, W_OK) != 0) return false;
        if (where == Destination::fresh) mode = freshmode();
        if (!tempname(channel.target, channel.temp)) {
            errno = ENAMETOOLONG;
            return false;
        }
        int fd = ::mkstemp(channel.temp);
        if (fd < 0) return false;
        channel.pending = true;
        ::fchmod(fd, mode);
        f = ::fdopen(fd, "w");
        if (f == nullptr) {
            int reason = errno;
            ::close(fd);
            dropoutput(channel);
            errno = reason;
            return false;
        }
    }
    // The staging buffer gathers the bytes; without one, the file keeps the
    // library's own buffering.
    channel.buffer = static_cast<char*>(std::malloc(stagingsize));
    channel.staged = 0;
    if (channel.buffer != nullptr) std::setvbuf(f, nullptr, _IONBF, 0);
    channel.file = f;
    return true;
}

bool creatememoryoutput(OutputChannel& channel, const char* path) {
    std::snprintf(channel.path, sizeof channel.path, "%s", path);
    channel.pending = false;
    channel.buffer = nullptr;
    channel.staged = 0;
    std::free(channel.memory);
    channel.memory = nullptr;
    channel.memorysize = 0;
    channel.file = ::open_memstream(&channel.memory, &channel.memorysize);
    return channel.file != nullptr;
}

bool drainchannel(OutputChannel& channel) {
    if (channel.staged == 0) return true;
    size_t n = static_cast<size_t>(channel.staged);
    channel.staged = 0;
    return !faultat("write") && fwrite_unlocked(channel.buffer, 1, n, channel.file) == n;
}

bool channelwrite(OutputChannel& channel, const char* bytes, size_t n) {
    if (channel.buffer == nullptr) return fwrite_unlocked(bytes, 1, n, channel.file) == n;
    if (static_cast<size_t>(channel.staged) + n > static_cast<size_t>(stagingsize)) {
        if (!drainchannel(channel)) return false;
        if (n > static_cast<size_t>(stagingsize)) return fwrite_unlocked(bytes, 1, n, channel.file) == n;
    }
    std::memcpy(channel.buffer + channel.staged, bytes, n);
    channel.staged += static_cast<int>(n);
    return true;
}

bool finishoutput(OutputChannel& channel) {
    if (channel.file == nullptr) return true;
    bool done = drainchannel(channel) && std::fflush(channel.file) == 0 &&
                (!channel.pending || (!faultat("fsync") && ::fsync(fileno(channel.file)) == 0));
    int reason = errno;
    if (std::fclose(channel.file) != 0 && done) {
        done = false;
        reason = errno;
    }
    channel.file = nullptr;
    std::free(channel.buffer);
    channel.buffer = nullptr;
    channel.staged = 0;
    errno = reason;
    return done;
}

bool dropoutput(OutputChannel& channel) {
    if (channel.file != nullptr) {
        int reason = errno;
        std::fclose(channel.file);  // its bytes are not wanted: no error matters
        errno = reason;
    }
    channel.file = nullptr;
    std::free(channel.buffer);
    channel.buffer = nullptr;
    channel.staged = 0;
    std::free(channel.memory);
    channel.memory = nullptr;
    channel.memorysize = 0;
    if (!channel.pending) return true;
    channel.pending = false;
    return ::unlink(channel.temp) == 0 || errno == ENOENT;
}

}  // namespace gridel::run
