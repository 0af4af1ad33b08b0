// signals.cpp - the ending signals' handler and its note.
#include "run/signals.h"

#include <csignal>
#include <cstring>

namespace gridel::run {

namespace {

const int endingsignals[] = {SIGINT, SIGTERM, SIGHUP};

// The ending signal that came: the one state the program keeps outside its
// runs, since a handler is given nothing but the signal.
volatile sig_atomic_t received = 0;

// Note the signal; a second one while the first is being dealt with ends
// the process at once.  Only async-signal-safe calls.
extern "C" void noteending(int sig) {
    if (received != 0) {
        std::signal(sig, SIG_DFL);
        std::raise(sig);  // delivered when the handler returns
        return;
    }
    received = sig;
}

}  // namespace

void installsignals() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = noteending;
    sigemptyset(&action.sa_mask);
    for (int sig : endingsignals) sigaddset(&action.sa_mask, sig);  // one handler at a time
    // No SA_RESTART: a read of the keyboard or a wait for a lock returns, and
    // the run sees the note.
    action.sa_flags = 0;
    for (int sig : endingsignals) {
        struct sigaction before;
        if (::sigaction(sig, &action, &before) == 0 && before.sa_handler == SIG_IGN)
            ::sigaction(sig, &before, nullptr);  // ignored by whoever started the run (nohup)
    }
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

int pendingsignal() { return received; }

const char* signalname(int sig) {
    switch (sig) {
        case SIGINT: return "INT";
        case SIGTERM: return "TERM";
        case SIGHUP: return "HUP";
        default: return "?";
    }
}

void holdsignals(sigset_t& held) {
    sigset_t ending;
    sigemptyset(&ending);
    for (int sig : endingsignals) sigaddset(&ending, sig);
    ::sigprocmask(SIG_BLOCK, &ending, &held);
}

void releasesignals(const sigset_t& held) { ::sigprocmask(SIG_SETMASK, &held, nullptr); }

void endbysignal() {
    int sig = received;
    if (sig == 0) return;
    std::signal(sig, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, sig);
    ::sigprocmask(SIG_UNBLOCK, &one, nullptr);
    std::raise(sig);
}

}  // namespace gridel::run
