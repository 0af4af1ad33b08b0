// realdata_test.cpp - diagrams written the way calculation and analysis
// tools write them (long lines, long numbers, exponents with "+", a byte
// order mark, UTF-8 names) draw as the same diagram written by hand, and
// input that never ends a line cannot hold the run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

struct Drawn {
    e2e::RunResult run;
    std::string log;
    std::string eps;
};

// Draw one data file (as gl-x.txt, named by the preferences) in a fresh folder.
Drawn draw(const std::string& data, const std::string& prefs = "datafile x\n") {
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-prefs.txt", prefs);
    testsupport::writefile(dir + "/gl-x.txt", data);
    Drawn d;
    d.run = e2e::rungridel(dir, "");
    d.log = testsupport::readfile(dir + "/gl-log.txt");
    if (e2e::fileexists(dir + "/gl-x.eps")) d.eps = testsupport::readfile(dir + "/gl-x.eps");
    e2e::removetree(dir);
    return d;
}

std::vector<std::string> textlines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

bool isnumber(const std::string& w) { return std::regex_match(w, std::regex("-?[0-9]+(\\.[0-9]+)?")); }

// The words of a line before its comment, and the line rebuilt from them
// with each number word passed through `rewrite`.
std::string rewritenumbers(const std::string& line, std::string (*rewrite)(const std::string&)) {
    std::istringstream in(line);
    std::string out, w;
    while (in >> w) {
        if (w[0] == '%') break;
        if (!out.empty()) out += ' ';
        out += isnumber(w) ? rewrite(w) : w;
    }
    return out;
}

// The data section (to the line "*" that closes the areas) and the script.
void splitfile(const std::string& data, std::vector<std::string>& section, std::vector<std::string>& script) {
    int stars = 0;
    for (const std::string& line : textlines(data)) {
        if (stars < 2) {
            section.push_back(line);
            if (line.find_first_not_of(" \t") != std::string::npos &&
                line.substr(line.find_first_not_of(" \t"), 1) == "*")
                ++stars;
        } else {
            script.push_back(line);
        }
    }
}

std::string example(const std::string& name) {
    return testsupport::readfile(std::string(EXAMPLES_DIR) + "/" + name + "/gl-" + name + ".txt");
}

std::string padzeros(const std::string& w) {
    bool negative = w[0] == '-';
    std::string out = negative ? "-" : "";
    out.append(26 - w.size(), '0');
    out.append(w, negative ? 1 : 0, std::string::npos);
    return out;
}

std::string asnumpy(const std::string& w) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.18e", std::stod(w));  // numpy.savetxt's default
    return buf;
}

// Every number of the data section and the script padded to 26 characters,
// and the whole data section on one text line.
std::string padded_and_joined(const std::string& data) {
    std::vector<std::string> section, script;
    splitfile(data, section, script);
    std::string joined;
    for (const std::string& line : section) {
        std::string words = rewritenumbers(line, padzeros);
        if (!words.empty()) joined += (joined.empty() ? "" : "  ") + words;
    }
    std::string out = joined + "\n";
    for (const std::string& line : script)  // an info line's words are its text
        out += (line.compare(0, 4, "info") == 0 ? line : rewritenumbers(line, padzeros)) + "\n";
    return out;
}

// The data rows written as numpy.savetxt writes them ("%.18e"); the
// header's counts stay integers.
std::string numpystyle(const std::string& data) {
    std::vector<std::string> section, script;
    splitfile(data, section, script);
    std::string out;
    bool header = true;
    for (const std::string& line : section) {
        std::string words = rewritenumbers(line, header ? [](const std::string& w) { return w; } : asnumpy);
        if (!words.empty()) header = false;
        out += words + "\n";
    }
    for (const std::string& line : script) out += line + "\n";
    return out;
}

// Equal texts, except that numbers may differ by one unit in their last
// written digit.
std::string differsbeyondlastdigit(const std::string& a, const std::string& b) {
    static const std::regex number("-?[0-9]+\\.[0-9]+");
    std::sregex_iterator ia(a.begin(), a.end(), number), ib(b.begin(), b.end(), number), end;
    size_t pa = 0, pb = 0;
    for (; ia != end && ib != end; ++ia, ++ib) {
        if (a.substr(pa, static_cast<size_t>(ia->position()) - pa) != b.substr(pb, static_cast<size_t>(ib->position()) - pb))
            return "text differs before " + ia->str();
        std::string x = ia->str(), y = ib->str();
        size_t decimals = x.size() - x.find('.') - 1;
        if (decimals != y.size() - y.find('.') - 1) return x + " against " + y;
        double unit = std::pow(10.0, -static_cast<double>(decimals));
        if (std::fabs(std::stod(x) - std::stod(y)) > 1.0001 * unit) return x + " against " + y;
        pa = static_cast<size_t>(ia->position() + ia->length());
        pb = static_cast<size_t>(ib->position() + ib->length());
    }
    if ((ia == end) != (ib == end) || a.substr(pa) != b.substr(pb)) return "different ends";
    return "";
}

TEST(RealData, PaddedJoinedAndMarkedFilesDrawTheSameBytes) {
    for (const char* name : {"basic", "calculated", "showcase"}) {
        std::string data = example(name);
        Drawn plain = draw(data);
        ASSERT_EQ(plain.run.status, 0) << name << plain.run.screen;
        const std::string variants[] = {padded_and_joined(data), "\xEF\xBB\xBF" + data};
        for (const std::string& variant : variants) {
            Drawn other = draw(variant, "\xEF\xBB\xBF" "datafile x\n");
            EXPECT_EQ(other.run.screen, plain.run.screen) << name;
            EXPECT_EQ(other.log, plain.log) << name;
            EXPECT_EQ(other.eps, plain.eps) << name;
        }
    }
}

TEST(RealData, NumpyFilesDrawTheSameUpToTheLastDigit) {
    for (const char* name : {"basic", "calculated", "showcase"}) {
        std::string data = example(name);
        Drawn plain = draw(data);
        Drawn numpy = draw(numpystyle(data));
        ASSERT_EQ(numpy.run.status, 0) << name << numpy.run.screen;
        EXPECT_EQ(differsbeyondlastdigit(plain.eps, numpy.eps), "") << name;
        EXPECT_EQ(differsbeyondlastdigit(plain.log, numpy.log), "") << name;
    }
}

TEST(RealData, LongRowsAndPlusExponents) {
    // A row of 20 values written with "%.9f" is 293 characters; "1e+5" is
    // what C and numpy write for a positive exponent.
    std::string rest;
    for (int k = 3; k <= 20; ++k) {
        char buf[32];
        std::snprintf(buf, sizeof buf, " %.9f", 1000.0 + k);
        rest += buf;
    }
    std::string row = " 1.500000000 2.500000000" + rest;
    ASSERT_GT(row.size(), 255u);
    Drawn d = draw("20 2 1 2\nu1 line begin end\n" + row + "\n 3.5e+0 2.5E+00" + rest +
                   "\n*\n*\nwindow 0 4 0 4\nbigticks 1 0 1 0\n*\n");
    ASSERT_EQ(d.run.status, 0) << d.run.screen;
    EXPECT_NE(d.eps.find("\n222.50 437.50 moveto  %  {1.500,2.500}  u1\n"
                         "452.50 437.50 lineto  %  {3.500,2.500}  \n"),
              std::string::npos)
        << d.eps;
}

TEST(RealData, NamesEndingInByteA4AreListedWhole) {
    // UTF-8 "ä" is C3 A4: the listing goes on after it.
    Drawn d = draw("2 2 1 2\ni1 M\xC3\xA4 Qtz - H2O\n 1 1\n*\n*\nwindow 0 4 0 4\nbigticks 1 0 1 0\n*\n");
    ASSERT_EQ(d.run.status, 0);
    EXPECT_NE(d.log.find("\n  i1) M\xC3\xA4 Qtz (H2O none)\n"), std::string::npos) << d.log;
}

TEST(RealData, InputThatNeverEndsALineEndsTheRun) {
    // A data file that is an endless stream, and an endless keyboard: each
    // ends with its report, within bounded memory.
    std::string dir = e2e::makeworkdir();
    testsupport::writefile(dir + "/gl-prefs.txt", "datafile zero\n");
    ASSERT_EQ(symlink("/dev/zero", (dir + "/gl-zero.txt").c_str()), 0);
    e2e::RunResult r = e2e::rungridel(dir, "", e2e::defaultclock, 30);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.screen.find(" BOMBED in read in rstrings : line longer than 1048576 characters\n"), std::string::npos)
        << r.screen;
    unlink((dir + "/gl-prefs.txt").c_str());
    r = e2e::rungridelfrom(dir, "/dev/zero", e2e::defaultclock, 30);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.screen.find(" BOMBED in read in prstrings : line longer than 1048576 characters\n"),
              std::string::npos)
        << r.screen.substr(0, 2000);
    e2e::removetree(dir);
}

}  // namespace
