// run.cpp - fresh runs and scratch channels.
#include "support/run.h"

#include <cstdio>

#include "run/channels.h"
#include "support/capture.h"
#include "support/floors.h"

namespace testsupport {

std::unique_ptr<Run> freshrun() {
    auto run = std::make_unique<Run>();
    RunSettings& s = run->settings;
    settext(s.banner, programbanner);
    s.dontwrap = true;
    s.pagewidth = 80;
    openkeyboard(run->keyboard);
    run->open = 1u << chw;
    settext(run->stamp, teststamp);
    return run;
}

void openchannel(Run& run, int channel, const char* path) {
    OutputChannel& c = run.channels[channel];
    c.file = std::fopen(path, "w");
    std::snprintf(c.path, sizeof c.path, "%s", path);
    run.open |= 1u << channel;
}

void closechannel(Run& run, int channel) {
    OutputChannel& c = run.channels[channel];
    if (c.file != nullptr) std::fclose(c.file);
    c.file = nullptr;
    run.open &= ~(1u << channel);
}

std::string written(Run& run, int channel, const std::function<void()>& fn) {
    std::string dir = enterscratch();
    openchannel(run, channel, "written.txt");
    fn();
    closechannel(run, channel);
    std::string text = readfile("written.txt");
    leavescratch(dir);
    return text;
}

}  // namespace testsupport
