// drawing.h - the drawing tests' fixture: a fresh run in a scratch folder,
// a diagram with the window 0..1 by 0..1, and what EPS canvases write, in
// memory or to the run's drawing channel.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/figure.h"
#include "run/run.h"
#include "support/run.h"
#include "support/floors.h"

namespace drawtest {

class Drawing : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Start again from an empty diagram: the window 0..1 by 0..1, big ticks
    // every 0.5 from 0, the options as they stand before a script.
    void reset();

    // Everything `fn` draws on an EPS canvas.
    std::string drawn(const std::function<void(Canvas&)>& fn);

    // The whole drawing file gl-<suffix>.eps, made from the diagram as a
    // run makes it once the data are read; its name goes to the run.
    std::string drawnfile(const char* suffix);

    // The places of the figure's texts, as a run plans them once the
    // lines are assembled (no areas).
    FigurePlan figureplan();

    // Ghostscript's verdict on a drawing given as text (see
    // testsupport::ghostscript).
    std::string ghostscriptof(const std::string& drawing);

    std::unique_ptr<::Run> fresh = testsupport::freshrun();
    ::Run& run = *fresh;
    Diagram d;
    std::string dir;
};

}  // namespace drawtest
