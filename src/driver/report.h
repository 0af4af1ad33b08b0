// report.h - the lines a watch and a batch write on standard error: what
// a watch watches and how to stop it, one line after each drawing of a
// watch, the heading of each data file's transcript in a batch, and the
// line that ends a batch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gridel::driver {

// How one data file's run ended, for the report lines.
struct RunReport {
    std::string datafile;              // as the command line named it
    int status = 0;                    // its exit status
    std::vector<std::string> written;  // the files it wrote (drawings, then the log), as named
    int32_t warnings = 0;              // the warnings it counted
    std::string failedat;              // PATH:LINE:COLUMN of its failure (PATH alone when no line); empty
    long milliseconds = 0;             // the time it took
};

// "watching gl-x.txt (and gl-prefs.txt); Ctrl-C to stop", naming every
// data file and style file the watch follows.
std::string watchingline(const std::vector<std::string>& datafiles, const std::vector<std::string>& styles);

// The line after a watch's drawing of one data file, stamped `clock`
// ("HH:MM:SS"): the files written, the milliseconds, and the warning
// count, or where the run failed.
std::string redrawline(const std::string& clock, const RunReport& report);

// The local time to the second, "HH:MM:SS".
std::string clocknow();

// The heading of a data file's transcript on the screen in a batch.
std::string batchheading(const std::string& datafile);

// The line that ends a batch of data files: how many were drawn (or
// checked), how many failed, and which.
std::string batchline(const std::vector<RunReport>& reports, bool checking);

}  // namespace gridel::driver
