// library.cpp - gridel::draw: one run of the pipeline with its files in
// memory.  The data file, the preferences and the style lines are texts of
// the run's MemoryRun; its outputs, its screen and its standard error are
// memory streams; what it found comes back as data.
#include "gridel/gridel.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "drawing/formats.h"
#include "driver/commandline.h"
#include "driver/pipeline.h"
#include "run/channels.h"
#include "run/commit.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/run.h"

namespace gridel {

namespace {

// A stream whose bytes gather in memory; `text` holds them once it is closed.
class MemoryStream {
public:
    MemoryStream() : file(::open_memstream(&bytes, &size)) {
        if (file == nullptr) throw std::bad_alloc();
    }
    ~MemoryStream() {
        if (file != nullptr) std::fclose(file);
        std::free(bytes);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    std::string text() {
        if (file != nullptr) std::fclose(file);
        file = nullptr;
        return std::string(bytes != nullptr ? bytes : "", size);
    }

    FILE* file;

private:
    char* bytes = nullptr;
    size_t size = 0;
};

// The formats asked for, as bits of the table's rows.
uint32_t formatbits(const std::vector<std::string>& names) {
    uint32_t bits = 0;
    for (const std::string& name : names) {
        int row = drawing::findformat(name);
        if (row < 0) throw std::invalid_argument("unknown drawing format '" + name + "': " + drawing::formatnames(drawing::FormatSet::all));
        bits |= 1u << row;
    }
    return bits;
}

// The bytes an output channel holds once it is closed; empty for none.
std::string channelbytes(const run::OutputChannel& channel) {
    return channel.memory != nullptr ? std::string(channel.memory, channel.memorysize) : std::string();
}

}  // namespace

std::string Diagnostic::headline() const {
    std::string out = path.empty() ? "gridel" : path;
    for (int part : {line, column}) {
        if (path.empty() || part <= 0 || line <= 0) break;
        out += ':';
        out += std::to_string(part);
    }
    out += ": ";
    out += severity;
    out += ": ";
    out += message;
    return out;
}

const std::string* Drawing::output(std::string_view format) const {
    for (const Output& o : outputs)
        if (o.format == format) return &o.bytes;
    return nullptr;
}

Drawing draw(const std::string& text, const DrawOptions& options) {
    uint32_t formats = formatbits(options.formats);
    if (options.dpi < driver::mindpi || options.dpi > driver::maxdpi)
        throw std::invalid_argument("dpi must be from " + std::to_string(driver::mindpi) + " to " + std::to_string(driver::maxdpi));

    run::MemoryRun memory;
    bool classic = options.name.empty();
    memory.anyname = classic;
    if (classic) {
        memory.inputs.emplace_back("", text);
    } else {
        run::DataFileName file = run::datafilename(options.name);
        memory.inputs.emplace_back(std::string(file.name.c, static_cast<size_t>(file.name.len)), text);
    }
    if (classic || !options.preferences.empty()) memory.inputs.emplace_back("gl-prefs.txt", options.preferences);
    auto run = std::make_unique<run::Run>();
    // Style lines are read as the command line's -e lines are, after the
    // data file's own script, a later line winning.
    int32_t number = 0;
    for (const std::string& line : options.style) run->styles.push_back({"-e", "", line, ++number});

    MemoryStream screen, errors;
    run->screen = screen.file;
    run->errors = errors.file;
    run->memory = &memory;
    run->interactive = false;
    if (!classic) run->datafile = run::datafilename(options.name);
    driver::askformats(*run, formats);

    Drawing result;
    try {
        result.status = driver::drawrun(*run, options.crop, options.dpi);
    } catch (const run::RunEnd& end) {
        result.status = closeended(*run, end);
    }
    result.logname = run::logname(*run);
    result.log = channelbytes(run->channels[run::chlog]);
    if (result.status == run::exitnormal) {
        for (int k = 0; k < drawing::formatcount; ++k) {
            const run::OutputChannel& channel = run->channels[run::chps + k];
            if (!(run->outputs & (1u << (run::chps + k))) || channel.memory == nullptr) continue;
            result.outputs.push_back(Output{drawing::drawingformats[k].name, run::outputname(*run, run::chps + k), channelbytes(channel)});
        }
    }
    // Every channel's memory is the run's to give back.
    for (run::OutputChannel& channel : run->channels) dropoutput(channel);
    result.screen = screen.text();
    result.errors = errors.text();
    for (run::Finding& found : memory.findings) {
        Diagnostic d;
        d.path = std::move(found.path);
        d.line = found.line;
        d.column = found.column;
        d.severity = found.error ? "error" : "warning";
        d.message = std::move(found.message);
        d.notes = std::move(found.notes);
        result.diagnostics.push_back(std::move(d));
    }
    return result;
}

std::vector<std::string> formats() {
    std::vector<std::string> names;
    for (const drawing::DrawingFormat& f : drawing::drawingformats) names.emplace_back(f.name);
    return names;
}

std::string version() { return run::programbanner; }

}  // namespace gridel
