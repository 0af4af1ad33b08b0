// main.cpp - gridel: a phase diagram description in, an EPS drawing out.
//
// One run, in a fixed order: start-up, the start of the diagram, reading the
// data file, drawing, the closing stamp, closing all files (only then does
// the drawing replace an older one of its name).
#include <csignal>

#include "diagram/readdata.h"
#include "diagram/startdiagram.h"
#include "postscript/drawdiagram.h"
#include "run/channels.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/settings.h"
#include "run/startup.h"

int main() {
    // Before any file is opened: a closed standard stream must not lend its
    // number to the log or the drawing.
    openstandardstreams();
    // A screen piped into a program that stops reading must not kill the
    // run: the log and the drawing are still completed.
    std::signal(SIGPIPE, SIG_IGN);
    guardoutputfiles();

    startup(programbanner);
    startdiagram();
    readdata();
    drawdiagram();

    Text closing;
    settext(closing, programbanner);
    addtext(closing, " run at ");
    addtext(closing, runstamp);
    putstr(1, closing, 1, setwoutlog);
    settext(closing, "with diagram in file, ");
    addtext(closing, drawingFileName);
    putstr(0, closing, 1, setwoutlog);
    closeall();
    return exitnormal;
}
