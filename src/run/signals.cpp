// signals.cpp - guardoutputfiles and its handler.
#include "run/signals.h"

#include <unistd.h>

#include <csignal>
#include <cstring>

namespace {

const int endingsignals[] = {SIGINT, SIGTERM, SIGHUP};

// The channel table whose temporary files the signal handler removes: the
// one state the program keeps outside its Run, since a handler is given
// nothing but the signal.
OutputChannel* guardedchannels = nullptr;
int guardedcount = 0;

// Remove the temporary files, then end the run by the signal itself, as it
// would have without the handler.  Only async-signal-safe calls.
extern "C" void removetemporaries(int sig) {
    if (guardedchannels != nullptr)
        for (int ch = 0; ch < guardedcount; ++ch)
            if (guardedchannels[ch].pending) ::unlink(guardedchannels[ch].temp);
    std::signal(sig, SIG_DFL);
    std::raise(sig);  // delivered when the handler returns
}

}  // namespace

void guardoutputfiles(OutputChannel* table, int count) {
    guardedchannels = table;
    guardedcount = count;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = removetemporaries;
    sigemptyset(&action.sa_mask);
    for (int sig : endingsignals) sigaddset(&action.sa_mask, sig);  // one handler at a time
    for (int sig : endingsignals) {
        struct sigaction before;
        if (::sigaction(sig, &action, &before) == 0 && before.sa_handler == SIG_IGN)
            ::sigaction(sig, &before, nullptr);  // ignored by whoever started the run (nohup)
    }
    std::signal(SIGXFSZ, SIG_IGN);
}
