// library_test.cpp - gridel::draw against the program: the same bytes for
// the same file, in memory only, from two threads at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "gridel/gridel.h"
#include "support/files.h"
#include "support/floors.h"

namespace {

namespace fs = std::filesystem;
using testsupport::readfile;
using testsupport::writefile;

constexpr const char* fixedclock = "2026-12-06 09:05";

// The clock is fixed for the program and the library alike, once, before
// any thread draws.
class FixedClock : public testing::Environment {
public:
    void SetUp() override { ::setenv("GRIDEL_CLOCK", fixedclock, 1); }
};
const testing::Environment* const clockset = testing::AddGlobalTestEnvironment(new FixedClock);

// A fresh folder of the test's own.
std::string freshfolder() {
    std::string pattern = (fs::temp_directory_path() / "gridel-library-XXXXXX").string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// What the program made of a data file: its status, screen, standard error
// and every file it left in its folder.
struct ProgramRun {
    int status = -1;
    std::string screen, errors;
    std::string folder;
    std::string file(const std::string& name) const { return readfile(folder + "/" + name); }
};

// Run the program on `name` (holding `text`, with `prefs` as gl-prefs.txt
// when not empty) in a fresh folder, with the arguments `args`.
ProgramRun runprogram(const std::string& name, const std::string& text, const std::string& prefs,
                      const std::string& args) {
    ProgramRun r;
    r.folder = freshfolder();
    std::string streams = freshfolder();
    writefile(r.folder + "/" + name, text);
    if (!prefs.empty()) writefile(r.folder + "/gl-prefs.txt", prefs);
    std::string command = "cd '" + r.folder + "' && GRIDEL_CLOCK='" + fixedclock + "' '" + GRIDEL_BINARY + "' " + args +
                          " " + name + " </dev/null >'" + streams + "/out' 2>'" + streams + "/err'";
    int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.screen = readfile(streams + "/out");
    r.errors = readfile(streams + "/err");
    fs::remove_all(streams);
    return r;
}

std::string example(const std::string& folder, const std::string& file) {
    return readfile(std::string(EXAMPLES_DIR) + "/" + folder + "/" + file);
}

struct ExampleCase {
    const char* folder;
    const char* file;
    std::vector<std::string> formats;
    bool crop;
    int dpi;
};

class SameAsProgram : public testing::TestWithParam<ExampleCase> {};

// Every output, the screen, standard error and the log are the program's.
TEST_P(SameAsProgram, EveryByte) {
    const ExampleCase& c = GetParam();
    std::string text = example(c.folder, c.file), prefs = example(c.folder, "gl-prefs.txt");
    std::string args = "--dpi " + std::to_string(c.dpi) + (c.crop ? " --crop" : "");
    for (const std::string& f : c.formats) args += " -T " + f;
    ProgramRun program = runprogram(c.file, text, prefs, args);
    ASSERT_EQ(program.status, 0) << program.errors;

    gridel::DrawOptions options;
    options.name = c.file;
    options.preferences = prefs;
    options.formats = c.formats;
    options.crop = c.crop;
    options.dpi = c.dpi;
    gridel::Drawing drawing = gridel::draw(text, options);
    EXPECT_EQ(drawing.status, 0);
    EXPECT_EQ(drawing.screen, program.screen);
    EXPECT_EQ(drawing.errors, program.errors);
    EXPECT_EQ(drawing.log, program.file(drawing.logname));
    ASSERT_EQ(drawing.outputs.size(), c.formats.size() + 1);  // and the EPS
    for (const gridel::Output& o : drawing.outputs) EXPECT_TRUE(o.bytes == program.file(o.name)) << o.name;
    fs::remove_all(program.folder);
}

INSTANTIATE_TEST_SUITE_P(Examples, SameAsProgram,
                         testing::Values(ExampleCase{"basic", "gl-basic.txt", {"svg", "pdf", "png"}, false, 150},
                                         ExampleCase{"calculated", "gl-calculated.txt", {"svg"}, true, 72},
                                         ExampleCase{"showcase", "gl-showcase.txt", {"png"}, false, 96}));

// Style lines are read after the file's own script: the drawing is the
// one of a file that has them at the end of its script.
TEST(Library, StyleLinesAsTheScriptsLastLines) {
    std::string text = example("basic", "gl-basic.txt");
    std::vector<std::string> style = {"numbering no", "showlineinfo yes"};
    size_t end = text.rfind("*\n");
    ASSERT_NE(end, std::string::npos);
    std::string styled = text.substr(0, end) + style[0] + "\n" + style[1] + "\n*\n";
    ProgramRun program = runprogram("gl-basic.txt", styled, "", "-T svg");
    ASSERT_EQ(program.status, 0) << program.errors;

    gridel::DrawOptions options;
    options.name = "gl-basic.txt";
    options.formats = {"svg"};
    options.style = style;
    gridel::Drawing drawing = gridel::draw(text, options);
    ASSERT_EQ(drawing.status, 0) << drawing.errors;
    EXPECT_TRUE(*drawing.output("svg") == program.file("gl-basic.svg"));
    EXPECT_TRUE(*drawing.output("eps") == program.file("gl-basic.eps"));
    // Without them the drawing differs: the lines were read.
    options.style.clear();
    EXPECT_FALSE(*gridel::draw(text, options).output("svg") == program.file("gl-basic.svg"));
    fs::remove_all(program.folder);
}

// A bad style line is reported in the style lines, not in the data file.
TEST(Library, BadStyleLineNamesTheStyleLines) {
    gridel::DrawOptions options;
    options.name = "gl-basic.txt";
    options.style = {"window 200 800 0"};
    gridel::Drawing drawing = gridel::draw(example("basic", "gl-basic.txt"), options);
    EXPECT_EQ(drawing.status, gridel::statusfailed);
    ASSERT_FALSE(drawing.diagnostics.empty());
    EXPECT_EQ(drawing.diagnostics.back().path, "-e");
    EXPECT_EQ(drawing.diagnostics.back().line, 1);
    EXPECT_NE(drawing.errors.find("-e:1:"), std::string::npos) << drawing.errors;
    EXPECT_NE(drawing.errors.find("window 200 800 0\n"), std::string::npos) << "the line is quoted";
}

// A wrong file: status 1, no drawing, and the program's report as data.
TEST(Library, WrongFileGivesTheProgramsReport) {
    std::string text = example("basic", "gl-basic.txt");
    size_t at = text.find("504 3.75   200 0.1");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 3, "5x4");
    ProgramRun program = runprogram("gl-bad.txt", text, "", "");
    ASSERT_EQ(program.status, 1);

    gridel::DrawOptions options;
    options.name = "gl-bad.txt";
    gridel::Drawing drawing = gridel::draw(text, options);
    EXPECT_EQ(drawing.status, gridel::statusfailed);
    EXPECT_TRUE(drawing.outputs.empty());
    EXPECT_EQ(drawing.errors, program.errors);
    EXPECT_EQ(drawing.screen, program.screen);
    EXPECT_EQ(drawing.log, program.file("gl-bad.log"));
    ASSERT_EQ(drawing.diagnostics.size(), 1u);
    const gridel::Diagnostic& d = drawing.diagnostics[0];
    EXPECT_EQ(d.severity, "error");
    EXPECT_EQ(d.path, "gl-bad.txt");
    EXPECT_GT(d.line, 0);
    EXPECT_GT(d.column, 0);
    EXPECT_EQ(program.errors.substr(0, program.errors.find('\n')), d.headline());
    for (const std::string& note : d.notes) EXPECT_NE(program.errors.find("note: " + note), std::string::npos);
    fs::remove_all(program.folder);
}

// Warnings come back as data in a run that draws.
TEST(Library, WarningsAsData) {
    gridel::DrawOptions options;
    options.style = {"", "darkcolour 1 2"};
    gridel::Drawing drawing = gridel::draw(example("basic", "gl-basic.txt"), options);
    EXPECT_EQ(drawing.status, 0);
    ASSERT_EQ(drawing.diagnostics.size(), 1u);
    const gridel::Diagnostic& d = drawing.diagnostics[0];
    EXPECT_EQ(d.severity, "warning");
    EXPECT_EQ(d.headline(), "-e:2: warning: darkcolour needs three numbers: the line is ignored");
    EXPECT_NE(drawing.errors.find("1 warning;"), std::string::npos) << drawing.errors;
}

// The classic run: the preferences name the data file, the log is
// gl-log.txt and the drawings take the preferences' suffix.
TEST(Library, ClassicRunTakesItsNamesFromThePreferences) {
    gridel::DrawOptions options;
    options.name.clear();
    options.preferences = "datafile yes basic\n";
    gridel::Drawing drawing = gridel::draw(example("basic", "gl-basic.txt"), options);
    ASSERT_EQ(drawing.status, 0) << drawing.errors;
    EXPECT_EQ(drawing.logname, "gl-log.txt");
    ASSERT_EQ(drawing.outputs.size(), 1u);
    EXPECT_EQ(drawing.outputs[0].name, "gl-basic.eps");
}

TEST(Library, CallersMistakesThrow) {
    gridel::DrawOptions options;
    options.formats = {"gif"};
    EXPECT_THROW(gridel::draw("", options), std::invalid_argument);
    options.formats = {"svg"};
    options.dpi = 5;
    EXPECT_THROW(gridel::draw("", options), std::invalid_argument);
    EXPECT_EQ(gridel::formats(), (std::vector<std::string>{"eps", "pdf", "svg", "png"}));
}

// Nothing is written: the current folder is read-only, and stays empty.
TEST(Library, WritesNoFile) {
    std::string folder = freshfolder();
    ASSERT_FALSE(folder.empty());
    std::string home = fs::current_path().string();
    ::chmod(folder.c_str(), 0555);
    ASSERT_EQ(::chdir(folder.c_str()), 0);
    gridel::DrawOptions options;
    options.name = "gl-basic.txt";
    options.preferences = example("basic", "gl-prefs.txt");
    options.formats = {"svg", "pdf", "png"};
    gridel::Drawing drawing = gridel::draw(example("basic", "gl-basic.txt"), options);
    // A run that fails keeps nothing either.
    gridel::Drawing failed = gridel::draw("nonsense\n", options);
    EXPECT_EQ(::chdir(home.c_str()), 0);
    EXPECT_EQ(drawing.status, 0) << drawing.errors;
    EXPECT_EQ(drawing.outputs.size(), 4u);
    EXPECT_EQ(failed.status, gridel::statusfailed);
    EXPECT_TRUE(fs::is_empty(folder));
    ::chmod(folder.c_str(), 0755);
    fs::remove_all(folder);
}

// Two threads drawing different diagrams at once each get their own
// drawing, the one a lone call makes.
TEST(Library, TwoThreadsAtOnce) {
    gridel::DrawOptions first, second;
    first.name = "gl-basic.txt";
    first.formats = {"svg", "png"};
    second.name = "gl-calculated.txt";
    second.formats = {"svg", "pdf"};
    std::string a = example("basic", "gl-basic.txt"), b = example("calculated", "gl-calculated.txt");
    gridel::Drawing alonea = gridel::draw(a, first), aloneb = gridel::draw(b, second);
    ASSERT_EQ(alonea.status, 0);
    ASSERT_EQ(aloneb.status, 0);
    constexpr int rounds = 3;
    std::vector<gridel::Drawing> gota(rounds), gotb(rounds);
    std::thread one([&] {
        for (auto& d : gota) d = gridel::draw(a, first);
    });
    std::thread two([&] {
        for (auto& d : gotb) d = gridel::draw(b, second);
    });
    one.join();
    two.join();
    for (int k = 0; k < rounds; ++k) {
        EXPECT_EQ(gota[k].log, alonea.log);
        EXPECT_EQ(gotb[k].log, aloneb.log);
        ASSERT_EQ(gota[k].outputs.size(), alonea.outputs.size());
        ASSERT_EQ(gotb[k].outputs.size(), aloneb.outputs.size());
        for (size_t o = 0; o < alonea.outputs.size(); ++o) EXPECT_TRUE(gota[k].outputs[o].bytes == alonea.outputs[o].bytes);
        for (size_t o = 0; o < aloneb.outputs.size(); ++o) EXPECT_TRUE(gotb[k].outputs[o].bytes == aloneb.outputs[o].bytes);
    }
}

}  // namespace
