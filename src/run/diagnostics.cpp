// diagnostics.cpp - the FILE:LINE:COLUMN: lines on standard error.
#include "run/diagnostics.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <cstdio>
#include <vector>

#include "run/linereader.h"
#include "text/numfmt.h"
#include "text/shown.h"

namespace gridel::run {

namespace {

// A line longer than this is quoted in part: the stretch round the word
// at fault, with "..." where it was cut.
constexpr size_t quotedbytes = 100;
// Bytes shown before the word at fault in such a stretch.
constexpr size_t quotedbefore = 40;
// A longer word is quoted in part, with "...".
constexpr size_t quotedlength = 40;
// The longest line looked for when a line is quoted (longer ones are cut).
constexpr size_t longestquoted = size_t{1} << 20;

template <int Cap>
std::string textstring(const text::Str<Cap>& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

template <int Cap>
void addshown(std::string& out, const text::Str<Cap>& t) { text::appendshown(out, t.c, static_cast<size_t>(t.len)); }

// "FILE:LINE:COLUMN: " (without the parts that are 0; "FILE: " for the file
// as a whole, "gridel: " outside any file), then the kind, then "ITEM: ".
std::string head(const SourcePlace& place, int32_t line, int32_t column, const text::Word& item, const char* kind) {
    std::string out;
    if (place.file.len > 0) {
        addshown(out, place.file);
        if (line > 0) {
            out += ':';
            out += wordtext(text::real2intstr(line));
            if (column > 0) {
                out += ':';
                out += wordtext(text::real2intstr(column));
            }
        }
        out += ": ";
    } else {
        out += "gridel: ";
    }
    out += kind;
    if (item.len > 0) {
        addshown(out, item);
        out += ": ";
    }
    return out;
}

void writeerr(Run& run, const std::string& s) { std::fwrite(s.data(), 1, s.size(), run.errors); }

// Line `number` of a regular file, its lines ended as the program's line
// reader ends them (LF, CR LF or a lone CR; a byte order mark at the start
// skipped); false when it cannot be read.  A pipe or a device is never read
// again: what it gave is gone, and it might wait.
bool readsourceline(const MemoryRun* memory, const text::Text& path, int32_t number, std::string& text) {
    char name[256];
    if (number < 1 || !text::tocstring(path, name)) return false;
    if (memory != nullptr) {  // a run in memory quotes the text it was given
        const std::string* source = memoryinput(*memory, name);
        if (source == nullptr) return false;
        auto reader = std::make_unique<LineReader>();
        openmemoryreader(*reader, *source);
        ReadResult got = readok;
        while (got == readok && reader->lineno < number) got = readline(*reader, text);
        if (text.size() > longestquoted) text.resize(longestquoted);
        return reader->lineno == number && got != readfailed;
    }
    int fd = ::open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat about;
    if (::fstat(fd, &about) != 0 || !S_ISREG(about.st_mode)) {
        ::close(fd);
        return false;
    }
    std::vector<char> block(1 << 16);
    int32_t line = 1;
    bool crbefore = false;  // the last byte was a CR: an LF right after belongs to it
    bool atstart = true;
    size_t bomleft = 3;     // bytes of a byte order mark still to match at the start
    static const unsigned char bom[3] = {0xEF, 0xBB, 0xBF};
    std::string pending;    // bytes of a possible byte order mark held back
    bool done = false, found = false;
    auto take = [&](char c) {
        if (line == number && text.size() < longestquoted) text += c;
    };
    while (!done) {
        ssize_t got = ::read(fd, block.data(), block.size());
        if (got <= 0) break;
        for (ssize_t k = 0; k < got && !done; ++k) {
            char c = block[static_cast<size_t>(k)];
            if (atstart) {
                if (bomleft > 0 && static_cast<unsigned char>(c) == bom[3 - bomleft]) {
                    pending += c;
                    if (--bomleft == 0) {
                        pending.clear();
                        atstart = false;
                    }
                    continue;
                }
                atstart = false;
                for (char p : pending) take(p);
                pending.clear();
            }
            if (crbefore && c == '\n') {
                crbefore = false;
                continue;
            }
            crbefore = c == '\r';
            if (c == '\n' || c == '\r') {
                if (line == number) {
                    done = found = true;
                    break;
                }
                ++line;
                continue;
            }
            take(c);
        }
    }
    for (char p : pending) take(p);
    ::close(fd);
    return found || line == number;
}

// The place's line quoted with a mark under the word at fault: "^" under
// its first byte and "~" under the rest.  Empty when the line cannot be
// read or the word does not lie in it (the file changed since).
std::string quoteline(const MemoryRun* memory, const SourcePlace& place) {
    std::string line = place.text;
    if (line.empty() && !readsourceline(memory, place.path, place.line, line)) return "";
    size_t at = static_cast<size_t>(place.column - 1);
    if (at > line.size()) return "";
    size_t width = place.width > 0 ? static_cast<size_t>(place.width) : 0;
    if (width > line.size() - at) width = line.size() - at;
    size_t from = 0, to = line.size();
    if (line.size() > quotedbytes) {
        from = at > quotedbefore ? at - quotedbefore : 0;
        to = from + quotedbytes;
        if (to < at + width) to = at + width;
        if (to > line.size()) to = line.size();
        // Cut between characters, not inside one.
        while (from < at && (static_cast<unsigned char>(line[from]) & 0xC0) == 0x80) ++from;
        while (to < line.size() && (static_cast<unsigned char>(line[to]) & 0xC0) == 0x80) ++to;
    }
    std::string before = from > 0 ? "..." : "";
    text::appendshown(before, line.data() + from, at - from);
    std::string word = text::shownbytes(line.data() + at, width);
    std::string after = text::shownbytes(line.data() + at + width, to - at - width);
    if (to < line.size()) after += "...";
    size_t columns = text::showncolumns(word);
    std::string out = before + word + after + "\n" + text::blanksunder(before) + "^";
    if (columns > 1) out.append(columns - 1, '~');
    out += '\n';
    return out;
}

}  // namespace

void enterfile(Run& run, const text::Text& path, const text::Text& shown) {
    leavefiles(run);
    run.place.file = shown;
    run.place.path = path;
}

void atitem(Run& run, int32_t line, int32_t column, const text::Word& item) {
    run.place.line = line;
    run.place.column = column;
    run.place.width = item.len;
    run.place.item = item;
}

void leavefiles(Run& run) { run.place = SourcePlace{}; }

void explain(Run& run, std::string plain, std::vector<std::string> notes) {
    run.place.plain = std::move(plain);
    run.place.notes = std::move(notes);
}

void addnote(Run& run, std::string note) { run.place.notes.push_back(std::move(note)); }

void reportfailure(Run& run, const char* what, int whatlen) {
    SourcePlace& place = run.place;
    if (place.file.len > 0 || run.checking) {
        std::fflush(run.screen);
        std::string out;
        if (place.plain.empty()) {
            out = head(place, place.line, place.column, place.item, "error: ");
            text::appendshown(out, what, static_cast<size_t>(whatlen));
        } else {
            out = head(place, place.line, place.column, text::Word{0, {}}, "error: ");
            text::appendshown(out, place.plain.data(), place.plain.size());
        }
        if (run.memory != nullptr) {
            size_t from = head(place, place.line, place.column, text::Word{0, {}}, "error: ").size();
            Finding found{textstring(place.file), place.line, place.column, true, out.substr(from), {}};
            for (const std::string& note : place.notes) found.notes.push_back(text::shownbytes(note.data(), note.size()));
            run.memory->findings.push_back(std::move(found));
        }
        out += '\n';
        if (place.line > 0 && place.column > 0) out += quoteline(run.memory, place);
        for (const std::string& note : place.notes) {
            out += "note: ";
            text::appendshown(out, note.data(), note.size());
            out += '\n';
        }
        writeerr(run, out);
        std::fflush(run.errors);
    }
    place.plain.clear();
    place.notes.clear();
}

void warning(Run& run, int32_t line, const text::Word& item, const std::string& text) {
    ++run.warnings;
    if (!run.checking && run.memory == nullptr) return;
    std::string out = head(run.place, line, 0, item, "warning: ");
    text::appendshown(out, text.data(), text.size());
    if (run.memory != nullptr) {
        size_t from = head(run.place, line, 0, text::Word{0, {}}, "warning: ").size();
        run.memory->findings.push_back(Finding{textstring(run.place.file), line, 0, false, out.substr(from), {}});
        if (!run.checking) return;
    }
    out += '\n';
    writeerr(run, out);
}

void checknote(Run& run, int32_t line, const text::Word& item, const std::string& text) {
    if (!run.checking) return;
    std::string out = head(run.place, line, 0, item, "note: ");
    text::appendshown(out, text.data(), text.size());
    out += '\n';
    writeerr(run, out);
}

void reportwarnings(Run& run, const std::string& command) {
    if (run.warnings <= 0 || run.checking) return;
    std::fflush(run.screen);
    std::string out = head(run.place, 0, 0, text::Word{0, {}}, "note: ");
    out += wholetext(run.warnings) + (run.warnings == 1 ? " warning; '" : " warnings; '");
    text::appendshown(out, command.data(), command.size());
    out += "' lists them\n";
    writeerr(run, out);
    std::fflush(run.errors);
}

std::string wordtext(const text::Word& word) { return std::string(word.c, static_cast<size_t>(word.len)); }

std::string wholetext(long double value) { return wordtext(text::real2intstr(value)); }

std::string quotedword(text::TextView word) {
    size_t n = static_cast<size_t>(word.len);
    bool cut = n > quotedlength;
    if (cut) {
        n = quotedlength;
        while (n > 0 && (static_cast<unsigned char>(word.c[n]) & 0xC0) == 0x80) --n;  // not inside a character
    }
    std::string out(1, '\'');
    out.append(word.c, n);
    out += cut ? "...'" : "'";
    return out;
}

std::string nearestword(const std::string& word, const char* const* known, int count) {
    std::string best;
    size_t bestcost = 0;
    for (int k = 0; k < count; ++k) {
        std::string other = known[k];
        // Levenshtein distance, one row at a time.
        std::vector<size_t> row(other.size() + 1);
        for (size_t j = 0; j <= other.size(); ++j) row[j] = j;
        for (size_t i = 1; i <= word.size(); ++i) {
            size_t diagonal = row[0];
            row[0] = i;
            for (size_t j = 1; j <= other.size(); ++j) {
                size_t above = row[j];
                size_t change = diagonal + (word[i - 1] == other[j - 1] ? 0 : 1);
                row[j] = std::min(std::min(row[j - 1] + 1, above + 1), change);
                diagonal = above;
            }
        }
        size_t cost = row[other.size()];
        if (best.empty() || cost < bestcost) {
            best = other;
            bestcost = cost;
        }
    }
    // A slip is a letter or two, and less than a third of the word.
    if (best.empty() || bestcost == 0 || bestcost > 2 || 3 * bestcost > best.size()) return "";
    return best;
}

}  // namespace gridel::run
