// reference_test.cpp - the reference names every keyword, option and
// failure message the program has: the keywords are read from the readers'
// own tables, the rest found in the sources, and each is looked for in
// docs/reference.md, so a new one cannot be left out of it.
#include <dirent.h>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "diagram/scriptkeywords.h"
#include "driver/commandline.h"
#include "run/prefs.h"
#include "support/floors.h"

namespace {

std::string readfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every .cpp file under a folder, read whole.
void sources(const std::string& dir, std::vector<std::string>& out) {
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string path = dir + "/" + name;
        if (e->d_type == DT_DIR)
            sources(path, out);
        else if (name.size() > 4 && name.substr(name.size() - 4) == ".cpp")
            out.push_back(readfile(path));
    }
    closedir(d);
}

// A C string literal's text, its escapes undone, trailing blanks dropped.
std::string literaltext(const std::string& body) {
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\\' && i + 1 < body.size()) ++i;
        out += body[i];
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// The first capture of every match of `pattern` in every source.
std::set<std::string> found(const std::vector<std::string>& texts, const std::string& pattern) {
    std::set<std::string> out;
    std::regex re(pattern);
    for (const std::string& t : texts)
        for (std::sregex_iterator m(t.begin(), t.end(), re), end; m != end; ++m) {
            std::string s = literaltext((*m)[1].str());
            if (!s.empty()) out.insert(s);
        }
    return out;
}

const std::string literal = R"#("((?:[^"\\]|\\.)*)")#";

TEST(Reference, NamesEveryKeywordOptionAndMessage) {
    std::vector<std::string> src;
    sources(SOURCE_DIR "/src", src);
    ASSERT_GT(src.size(), 20u);
    const std::string reference = readfile(SOURCE_DIR "/docs/reference.md");
    ASSERT_FALSE(reference.empty());

    std::set<std::string> wanted;
    // The data file's words.
    for (const std::string& s : found(src, R"(currentis\(rd, )" + literal)) wanted.insert(s);
    // Failure messages: whole texts, and the fixed parts of built ones.
    for (const char* p : {R"(bombed\(\w+(?:\.\w+)?, "[^"]*", )", R"((?:badword|failwith)\(\w+, "[^"]*", )",
                          R"(settext\(what, )", R"(settext\(m, )"})
        for (const std::string& s : found(src, p + literal)) wanted.insert(s);
    // Where-texts of the failure reports.
    for (const std::string& s : found(src, R"(bombed\(\w+(?:\.\w+)?, )" + literal)) wanted.insert(s);
    // Long options.
    for (const std::string& s : found(src, R"(\{)" + literal + R"(, (?:required|no)_argument)"))
        wanted.insert("--" + s);
    wanted.erase("\"");  // a quote that opens a built text
    EXPECT_GT(wanted.size(), 80u);
    std::string missing;
    for (const std::string& w : wanted)
        if (reference.find(w) == std::string::npos) missing += "  " + w + "\n";
    EXPECT_EQ(missing, "") << "docs/reference.md does not name:\n" << missing;
}

// The table row of the reference for a keyword: a line "| `NAME` ..." or
// "| `OTHER`, `NAME` ...", its cells split at " | "; empty when there is none.
std::vector<std::string> tablerow(const std::string& reference, const std::string& name) {
    std::istringstream lines(reference);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, 2, "| ") != 0) continue;
        std::vector<std::string> cells;
        for (size_t from = 2;;) {
            size_t bar = line.find(" | ", from);
            cells.push_back(line.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
            if (bar == std::string::npos) break;
            from = bar + 3;
        }
        const std::string& first = cells[0];
        if (first == "`" + name + "`" || first.find("`" + name + "`,") != std::string::npos ||
            first.find(", `" + name + "`") != std::string::npos || first.compare(0, name.size() + 2, "`" + name + " ") == 0)
            return cells;
    }
    return {};
}

// Each keyword of the script and of a figure has its row in the reference,
// with its arguments as the keyword table gives them; each keyword of the
// preferences file has its row.
TEST(Reference, ListsEveryKeywordWithItsArguments) {
    const std::string reference = readfile(SOURCE_DIR "/docs/reference.md");
    std::vector<KeywordName> keywords = scriptkeywordlist();
    for (const KeywordName& k : figurekeywordlist()) keywords.push_back(k);
    EXPECT_EQ(keywords.size(), 25u);
    for (const KeywordName& k : keywords) {
        std::vector<std::string> row = tablerow(reference, k.name);
        ASSERT_GE(row.size(), 2u) << k.name << " has no row in the reference";
        EXPECT_EQ(row[1], k.arguments) << k.name;
    }
    for (const auto& [name, arguments] : prefskeywordlist()) {
        std::vector<std::string> row = tablerow(reference, name);
        ASSERT_FALSE(row.empty()) << name << " has no row in the reference";
        EXPECT_NE(row[0].find(arguments), std::string::npos) << name << ": " << row[0];
    }
}

// Every option --help lists is in the manual page by its long name, and
// in the README's use by one of its names (help aside): the three agree.
TEST(Reference, TheManualPageAndTheReadmeNameEveryOptionOfTheHelp) {
    const std::string manual = readfile(SOURCE_DIR "/docs/gridel.1"), readme = readfile(SOURCE_DIR "/README.md");
    const std::string help = usage();
    std::regex option(R"(\n +(?:-(\w), )?--([a-z]+))");
    int seen = 0;
    for (std::sregex_iterator m(help.begin(), help.end(), option), end; m != end; ++m, ++seen) {
        std::string shortname = (*m)[1].str(), longname = (*m)[2].str();
        EXPECT_NE(manual.find("\\-\\-" + longname), std::string::npos) << "the manual page lacks --" << longname;
        if (longname == "help") continue;
        bool inreadme = readme.find("--" + longname) != std::string::npos ||
                        (!shortname.empty() && readme.find("-" + shortname + " ") != std::string::npos);
        EXPECT_TRUE(inreadme) << "the README lacks --" << longname;
    }
    EXPECT_EQ(seen, 11);
}

}  // namespace
