// diagnostics.cpp - the FILE:LINE: lines on standard error.
#include "run/diagnostics.h"

#include <cstdio>
#include <vector>

#include "text/numfmt.h"

namespace {

void writetext(const char* s, size_t n) { std::fwrite(s, 1, n, stderr); }

template <int Cap>
void writetext(const Str<Cap>& t) { writetext(t.c, static_cast<size_t>(t.len)); }

void writetext(const char* s) { std::fputs(s, stderr); }

// "FILE:LINE: " (or "FILE: " for the file as a whole, "gridel: " outside
// any file), then the kind, then "ITEM: ".
void writehead(const SourcePlace& place, int32_t line, const Word& item, const char* kind) {
    if (place.file.len > 0) {
        writetext(place.file);
        if (line > 0) {
            writetext(":");
            writetext(real2intstr(line));
        }
        writetext(": ");
    } else {
        writetext("gridel: ");
    }
    writetext(kind);
    if (item.len > 0) {
        writetext(item);
        writetext(": ");
    }
}

}  // namespace

void enterfile(Run& run, const Text& file) {
    run.place.file = file;
    run.place.line = 0;
    run.place.item.len = 0;
}

void atline(Run& run, int32_t line) {
    run.place.line = line;
    run.place.item.len = 0;
}

void atitem(Run& run, int32_t line, const Word& item) {
    run.place.line = line;
    run.place.item = item;
}

void leavefiles(Run& run) { run.place = SourcePlace{}; }

void reportfailure(Run& run, const char* what, int whatlen) {
    if (run.place.file.len == 0 && !run.checking) return;
    std::fflush(stdout);
    writehead(run.place, run.place.line, run.place.item, run.checking ? "error: " : "");
    writetext(what, static_cast<size_t>(whatlen));
    writetext("\n");
    std::fflush(stderr);
}

void warning(Run& run, int32_t line, const Word& item, const std::string& text) {
    if (!run.checking) return;
    writehead(run.place, line, item, "warning: ");
    writetext(text.data(), text.size());
    writetext("\n");
}

std::string wordtext(const Word& word) { return std::string(word.c, static_cast<size_t>(word.len)); }

std::string wholetext(long double value) { return wordtext(real2intstr(value)); }

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
