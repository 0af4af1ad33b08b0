// crossovers.h - crossover points placed where their two lines cross.
#pragma once

// Give every crossover point the position where its two lines first cross;
// a line that is missing or lines that never cross end the run.
void placecrossovers();
