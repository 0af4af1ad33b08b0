// reference_test.cpp - the reference names every keyword, option and
// failure message the program has: each is found in the sources and looked
// for in docs/reference.md, so a new one cannot be left out of it.
#include <dirent.h>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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
    // Keywords of the preferences file and the script, and the data file's words.
    for (const char* p : {R"(istext\(key, )", R"(currentis\(rd, )"})
        for (const std::string& s : found(src, p + literal)) wanted.insert(s);
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

}  // namespace
