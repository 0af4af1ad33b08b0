// startup.cpp - startup: the run's environment prepared.
#include "run/startup.h"

#include <cstdio>

#include "run/channels.h"
#include "run/files.h"
#include "run/prefs.h"
#include "run/stamp.h"

void startup(Run& run, const char* banner) {
    RunSettings& s = run.settings;
    settext(s.banner, banner);
    s.dontwrap = true;
    s.monitorheap = false;
    s.pagewidth = 80;
    s.calcmode = -1;
    openkeyboard(run.keyboard);
    run.stamp = makerunstamp(readclock());
    if (run.checking) {  // no transcript and no file: only what the check finds
        readprefs(run);
        return;
    }
    run.open = 1u << chw;
    std::fputs(banner, stdout);  // straight to the screen, not through putstr
    std::fputs(" (portable version)\n", stdout);
    readprefs(run);
    Word extension;
    settext(extension, ".txt");
    openoutput(run, "gl-log", extension, chlog);
    putstr(run, 0, "[display/print with fixed width font (eg Monaco)]", 2, setlog);
    putstr(run, 0, "", 1, setwlog);
    for (int ch = chic; ch < channelcount; ++ch) run.channels[ch].written = false;
}
