// lineinput.h - lines from files and from the keyboard, as words; prompts
// and yes/no questions.
//
// A line ends at LF, at CR LF or at a lone CR, so files saved on any system
// read the same; the line-end bytes never become part of a word.  At most
// 255 characters of a line are used and the rest is skipped.
#pragma once

#include <cstdint>

#include "text/fixedtext.h"
#include "text/tokens.h"

constexpr int readbuffersize = 1 << 16;

// A text file (or the keyboard) read line by line through its own buffer.
struct LineReader {
    int fd;                 // open file descriptor, -1 when closed
    int pos;                // next unread byte in buf
    int end;                // bytes in buf
    bool ended;             // the descriptor has reported its end
    bool failed;            // a read failed
    bool pendingcr;         // the last line ended at CR: an LF right after belongs to it
    char buf[readbuffersize];  // bytes read ahead
};

// The keyboard: standard input.
extern LineReader keyboard;

// Open a text file for reading; false when it cannot be opened.
bool openreader(LineReader& reader, const char* path);

// Close the file; false when closing failed.
bool closereader(LineReader& reader);

// True when nothing more can be read.
bool atend(LineReader& reader);

// Result of reading one line.
enum ReadResult { readok, readatend, readfailed };

// Read one line: its first 255 characters go into `line`.
ReadResult readline(LineReader& reader, Text& line);

// Write out the screen and every open file channel before a keyboard read.
void flushall();

// One line of a text file as words, a word beginning with "%" and all after
// it dropped.  A read error ends the run.
void rstrings(LineReader& file, WordList& words);

// One line typed at the keyboard, with backspace editing, as words.
void prstrings(WordList& words);

// Ask with a prompt, read the answer as words, copy it into the log; "kill"
// stops the run.
void promptstrings(const char* prompt, WordList& words);

// Ask with a prompt; the first word typed (or empty).
Word promptword(const char* prompt);

// Ask a yes/no question; return alone means yes.
bool query(const char* question);
