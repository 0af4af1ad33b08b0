// model.cpp - the diagram model's storage and its defaults.
#include "diagram/model.h"

int16_t nvars = 0;
InvariantPoint* points = nullptr;
int16_t npoints = 0;
UnivariantLine* lines = nullptr;
int16_t nlines = 0;
ShadedArea areas[maxareas + 1];
int16_t nareas = 0;

PlotWindow plotwindow = {0, 0, 0, 0};
TickMarks tickmarks = {0, 0, 0, 0, 0, 0, false};
DrawingOptions drawingoptions = {
    answeryes, answeryes, answerno, answeryes, 0, 0, {0, 0, 0}, {255, 255, 255}, {}, 0,
};
