// watch.h - waiting for the data files of a watch to change: a data file
// itself, or the gl-prefs.txt beside it.  Each data file's folder is
// watched (inotify), and the folders of the style files, and the events
// are told apart by name, so that a file
// an editor saves by writing a new one and renaming it over the old one
// stays watched.  Waiting costs no time: the program sleeps until the
// system reports a change or a signal comes.
//
// A watched folder that is removed (or moved away) is reported on standard
// error and looked for again twice a second; when a folder comes back under
// its name it is watched again, said so, and its data files that are there
// are drawn again (the others when they are saved).
#pragma once

#include <string>
#include <vector>

namespace gridel::driver {

struct Watch {
    int fd = -1;  // the inotify descriptor; -1 when nothing is watched
    // What each watch descriptor stands for: a folder, and the data files
    // in it (by index and by name).
    struct Folder {
        int wd;            // -1 while the folder is gone
        std::string path;  // as the data files name it ("." for none)
        std::vector<size_t> files;  // a data file's index, or `allfiles` for a style file
        std::vector<std::string> names;
    };
    std::vector<Folder> folders;
};

// A style file's entry in a folder: its change draws every data file again.
constexpr size_t allfiles = static_cast<size_t>(-1);

// Start watching the folders of the data files and of the style files
// (named from the current folder).  A folder that cannot be watched is
// reported on standard error; the others are watched all the same.
void startwatch(Watch& watch, const std::vector<std::string>& datafiles, const std::vector<std::string>& styles = {});

// Wait until a watched file changes, and a moment more for the rest of the
// same save; `due` tells which data files are to be drawn again.  False
// when an ending signal came (or nothing can be watched).
bool waitforchange(Watch& watch, std::vector<bool>& due);

// Stop watching.
void endwatch(Watch& watch);

}  // namespace gridel::driver
