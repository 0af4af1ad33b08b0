// report.cpp - the report lines of a watch and of a batch.
#include "driver/report.h"

#include <ctime>

#include "run/failure.h"

namespace gridel::driver {

namespace {

// A list of names separated by commas.
std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
    return out;
}

std::string counted(long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string watchingline(const std::vector<std::string>& datafiles, const std::vector<std::string>& styles) {
    std::string out = "watching " + joined(datafiles);
    out += datafiles.size() == 1 ? " (and gl-prefs.txt)" : " (and the gl-prefs.txt beside each)";
    if (!styles.empty()) out += ", " + std::string(styles.size() == 1 ? "style file " : "style files ") + joined(styles);
    return out + "; Ctrl-C to stop";
}

std::string redrawline(const std::string& clock, const RunReport& report) {
    std::string out = clock + " " + report.datafile + ": ";
    if (report.status == run::exitnormal) {
        out += "wrote " + (report.written.empty() ? std::string("nothing") : joined(report.written));
        out += " in " + std::to_string(report.milliseconds) + " ms, ";
        out += report.warnings == 0 ? std::string("no warnings") : counted(report.warnings, "warning", "warnings");
        return out;
    }
    out += "failed";
    if (!report.failedat.empty()) out += " at " + report.failedat;
    return out + " in " + std::to_string(report.milliseconds) + " ms";
}

std::string clocknow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = "";
    if (::localtime_r(&now, &local) != nullptr) std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

std::string batchheading(const std::string& datafile) { return "==> " + datafile + " <=="; }

std::string batchline(const std::vector<RunReport>& reports, bool checking) {
    std::vector<std::string> failed;
    for (const RunReport& r : reports)
        if (r.status != run::exitnormal) failed.push_back(r.datafile);
    long done = static_cast<long>(reports.size() - failed.size());
    std::string out = std::to_string(done) + (checking ? " checked, " : " drawn, ") +
                      std::to_string(failed.size()) + " failed";
    if (!failed.empty()) out += ": " + joined(failed);
    return out;
}

}  // namespace gridel::driver
