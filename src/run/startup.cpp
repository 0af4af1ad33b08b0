// startup.cpp - startup, and the run-wide state it prepares.
#include "run/startup.h"

#include <cstdio>

#include "run/channels.h"
#include "run/files.h"
#include "run/prefs.h"
#include "run/settings.h"
#include "run/stamp.h"

RunSettings runsettings = {{0, {}}, true, false, {0, {}}, {0, {}}, 80, -1};
Text drawingFileName;
LineBuffer listline;
LineBuffer scriptline;
LineBuffer psline;

void startup(const char* banner) {
    settext(runsettings.banner, banner);
    openChannels = 1u << chw;
    std::fputs(banner, stdout);  // straight to the screen, not through putstr
    std::fputs(" (portable version)\n", stdout);
    readprefs();
    Word extension;
    settext(extension, ".txt");
    openoutput("gl-log", extension, channels[chlog]);
    openChannels |= 1u << chlog;
    putstr(0, "[display/print with fixed width font (eg Monaco)]", 2, setlog);
    putstr(0, "", 1, setwlog);
    clearline(listline);
    clearline(scriptline);
    clearline(psline);
    for (int ch = chic; ch <= chps; ++ch) channels[ch].written = false;
    computerunstamp();
}
