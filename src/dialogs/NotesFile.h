// NotesFile reads and writes a program's revision-notes file: plain text
// named after the program with the extension "REV", kept in a data folder.
// The notes window loads it into its memo line by line and saves the memo
// back the same way.
//
//   NotesFile notes;
//   std::string path = NotesFile::pathFor(folder, "Vantrell");  // folder\Vantrell.REV
//   std::vector<std::u16string> lines;
//   if (notes.load(path, &lines) == NotesFile::kLoaded) ...
//   notes.save(path, lines);
//
// The file is text in the suite's code page (Windows-1252), lines ended by
// CR LF; a line ends at CR LF, at a lone CR or at a lone LF, and a line end
// after the last line adds no empty line. A file that begins with the UTF-8
// byte-order mark is read as UTF-8 and saved again the same way, so that
// characters the code page cannot hold are not lost.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Env.h"

class NotesFile {
public:
    enum LoadResult { kLoaded, kMissing, kUnreadable };

    explicit NotesFile(Env* env = Env::Default());

    // The folder, a separator when it does not end with one, the program
    // name and ".REV". The separator added is the one the folder already
    // uses, else the native one.
    static std::string pathFor(std::string_view folder, std::string_view programName);

    // kMissing when no file is there (a directory does not count as one),
    // kUnreadable when it cannot be read; the lines are set only on kLoaded.
    LoadResult load(const std::string& path, std::vector<std::u16string>* lines);
    // Replaces the file with the lines, each followed by CR LF. False when
    // the file cannot be created or written completely.
    bool save(const std::string& path, const std::vector<std::u16string>& lines);

private:
    Env* env_;
    bool utf8_ = false;  // the last file loaded began with the UTF-8 mark
};
