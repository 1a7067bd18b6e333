// ProgramSettings reads and writes the per-job program settings file, the
// few values of the settings page remembered between runs:
//
//   RES=24        the returns pocket        (udResi, 1 to 100)
//   FST=3         the first usable pocket   (udFirst, 1 to 100)
//   LST=22        the last usable pocket    (udLast, 1 to 64)
//   CPY=0         copy the flow to a second folder (chkCopyPath)
//   PTH=          that folder               (tbCopyPath)
//
// Lines end with CR LF and hold at most 80 characters. Reading skips empty
// lines and lines beginning with ";" or a blank, matches the keys ignoring
// case, ignores other lines, and lets a key found twice take its last value.
// A number read outside an up-down's range is brought to the nearest bound,
// so the page never holds a value its control does not allow.
//
//   ProgramSettings settings(view);
//   settings.load(path);     // silently keeps the page's values without a file
//   settings.save(path);     // "Errore" box when the file cannot be created
#pragma once

#include <string>
#include <string_view>

#include "platform/Env.h"

class OutputView;

class ProgramSettings {
public:
    static constexpr int kLineLength = 80;

    struct UpDownRange {
        const char* key;
        const char* name;
        int minimum;
        int maximum;
    };
    // The saved up-downs, in the order of the file.
    static constexpr UpDownRange kUpDowns[] = {
        {"RES=", "udResi", 1, 100},
        {"FST=", "udFirst", 1, 100},
        {"LST=", "udLast", 1, 64},
    };

    explicit ProgramSettings(OutputView& view, Env* env = Env::Default());

    // Applies the file's values to the page; false when it cannot be opened.
    bool load(const std::string& path);
    // Writes the page's values; false (after the message) when the file
    // cannot be created.
    bool save(const std::string& path);

    // A decimal number as the file holds it: leading blanks, an optional
    // sign, then digits up to the first other character; no digits give 0.
    // Numbers beyond the int range stop at its bounds.
    static int readNumber(std::string_view text);

private:
    void applyLine(std::string_view line);

    OutputView& view_;
    Env* env_;
};
