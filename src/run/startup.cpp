// startup.cpp - startup: the run's environment prepared.
#include "run/startup.h"

#include <cstdio>
#include <string>

#include "run/channels.h"
#include "run/files.h"
#include "run/lock.h"
#include "run/prefs.h"
#include "run/stamp.h"

namespace gridel::run {

void startup(Run& run, const char* banner) {
    RunSettings& s = run.settings;
    text::settext(s.banner, banner);
    s.dontwrap = true;
    s.monitorheap = false;
    s.pagewidth = 80;
    openkeyboard(run.keyboard);
    run.stamp = makerunstamp(readclock());
    if (run.checking) {  // no transcript and no file: only what the check finds
        readprefs(run);
        return;
    }
    run.open = 1u << chw;
    std::fputs(banner, run.screen);  // straight to the screen, not through putstr
    std::fputs(" (portable version)\n", run.screen);
    readprefs(run);
    // A run for a data file named on the command line is read in terminals,
    // log viewers and CI pages that wrap lines themselves: its screen lines
    // are written whole.  The classic run keeps its page width.
    if (run.datafile.name.len > 0) s.dontwrap = false;
    // No other run may write the log (nor, for a data file named on the
    // command line, the drawings of the same stem) while this one lasts.
    std::string log = logname(run);
    size_t dot = log.rfind('.');
    lockoutputs(run, 0, log.substr(0, dot).c_str());
    openoutput(run, log.substr(0, dot).c_str(), text::maketext<20>(log.c_str() + dot), chlog);
    putstr(run, 0, "[display/print with fixed width font (eg Monaco)]", 2, setlog);
    putstr(run, 0, "", 1, setwlog);
}

}  // namespace gridel::run
