// programmain.cpp - the program's own main under the name the fuzzing entry
// point calls.
#define main gridelmain
#include "../../src/main.cpp"
