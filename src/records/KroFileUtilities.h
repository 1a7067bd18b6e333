// KroFileUtilities takes paths apart and puts them together again, lists a
// path's components, tells whether a path is a directory, and copies a file
// with retries and a fallback, naming each copy result in Italian. The main
// window uses it to copy each output flow into the sorter's second folder;
// the path manager owns one.
//
//   KroFileUtilities files;
//   std::string name, extension;
//   files.splitPath(flowPath, nullptr, &extension, &name, nullptr);
//   auto target = KroFileUtilities::makePath("", extension, name, sorterFolder);
//   int code = target ? files.copyFile(flowPath, *target, false) : 5;
//   if (code != 0) monitor(KroFileUtilities::copyResultText(code));
//
// Path rules. The drive form (C:\DIR\FILE.EXT) and the network form
// (\\SERVER\SHARE\DIR\FILE.EXT) keep their Windows rules as pure text on every
// platform; backslash and slash both separate. On POSIX an absolute path
// begins with "/": its root prefix is "/" (rootLength 1), it splits into an
// empty drive and a directory that keeps its "/" separators
// ("/srv/out/F.TXT" gives "", "/srv/out/", "F", ".TXT"), and "/" is accepted
// as a drive by makePath. Where a rule joins with a separator, makePath uses
// the first separator already in the drive or directory; with none, a
// backslash after a drive or network form and the native separator otherwise.
// makePath of the parts of splitPath gives the path back; a path that names
// an existing directory right below the root ("/tmp", "C:\WINDOWS") comes
// back with a trailing separator.
//
// Texts are at most kMaxPath (260) characters: split parts are cut to it, and
// a composed path or a copy path longer than that is refused rather than cut,
// so that no operation ever names a different file than the one meant.
//
// The utilities report through return codes and texts; the status word stays
// 0 and every bit reads "Errore non definito".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/KroFastObject.h"
#include "platform/Env.h"

class KroFileUtilities : public KroFastObject {
public:
    static constexpr std::size_t kMaxPath = 260;
    // Attempts of the system copy before the copy by hand.
    static constexpr int kRetries = 3;
#ifdef _WIN32
    static constexpr char kNativeSeparator = '\\';
#else
    static constexpr char kNativeSeparator = '/';
#endif

    // Copy result codes, shared with the rest of the suite; copyFile returns
    // kCopied, kSourceMissing, kSourceUnreadable, kDestinationUnwritable or
    // kCopyFailed.
    static constexpr int kNothingToCopy = -2;
    static constexpr int kCopied = 0;
    static constexpr int kSourceMissing = 1;
    static constexpr int kSourceUnreadable = 2;
    static constexpr int kDiskFull = 3;
    static constexpr int kDestinationUnwritable = 4;
    static constexpr int kCopyFailed = 5;
    static constexpr int kNoDestinationFolder = 6;
    static constexpr int kOverwriteRefused = 7;

    explicit KroFileUtilities(Env* env = Env::Default());
    ~KroFileUtilities() override;
    KroFileUtilities(const KroFileUtilities&) = delete;
    KroFileUtilities& operator=(const KroFileUtilities&) = delete;

    const char* errorText(int bit) const override;

    // Kind 0: the full path composed from the path parts (empty when there is
    // none), kept in the object and returned. Kind 1: lists the components of
    // that kept path (listComponents) and returns an empty text. Other kinds
    // do nothing and return an empty text.
    virtual std::string pathText(int kind);

    // Copies source to destination. The system copy is tried up to kRetries
    // times; when it keeps failing the file is copied by hand in 512-byte
    // blocks. With failIfExists an existing destination is left as it is and
    // the result is kCopied. A hand copy that comes out short is removed.
    int copyFile(const std::string& source, const std::string& destination, bool failIfExists);
    // The Italian text of a copy result code; "Errore non definito" for a
    // code outside the table.
    // The name in the folder, joined with the native separator unless the
    // folder already ends with one; the name alone when there is no folder.
    static std::string inFolder(std::string_view folder, std::string_view name);
    static const char* copyResultText(int code);

    // Splits a path into drive (or network share "\\SRV\SHARE"), directory
    // (with its leading and trailing separators), file name and extension
    // (with its dot: the last dot of the last component). Each output given
    // receives its part, cut to kMaxPath characters.
    void splitPath(std::string_view path, std::string* drive, std::string* extension,
                   std::string* fileName, std::string* directory);
    // Replaces the object's four path parts with those of the path.
    void splitInto(std::string_view path);
    // Composes a path; empty texts stand for absent parts. None when the
    // drive is neither a drive letter ("C:"), a network share nor "/", or
    // when the result would be longer than kMaxPath.
    static std::optional<std::string> makePath(std::string_view drive, std::string_view extension,
                                               std::string_view fileName,
                                               std::string_view directory);
    // The full path of the path parts into output: 0, or -1 when there is
    // none (output then emptied).
    int fullPath(std::string* output);
    // Drive and directory of the path parts composed, without the file name.
    const std::string& directoryPath();
    // splitInto the path, then components of it.
    int listComponents(std::string_view path);
    // Lists the path's components, held in the object: "C:\A\B\file.txt"
    // gives C:, A, B, file.txt; "\\SRV\SHARE\DIR" gives \\SRV, SHARE, DIR; a
    // path rooted by one separator starts with that separator
    // ("/srv/x" gives /, srv, x). Items after the first lose their trailing
    // blanks; empty items between separators are skipped. Returns the count.
    int components(std::string_view path);
    // The components of the drive part followed by the directory part.
    int components();
    // Length of the root prefix: 2 for "C:...", the text before the fourth
    // separator of a network path (11 for \\SRV\SHARE\DIR, the whole text
    // when it has fewer than four), 1 for a POSIX path "/..."; -1 otherwise.
    static int rootLength(std::string_view path);
    // True when the path, trailing separators removed, is an existing
    // directory. A path longer than kMaxPath is not looked up.
    bool isDirectory(std::string_view path);
    // Directory searches: -1 closes them all, anything else the deepest.
    // Nothing here opens a search, so the depth stays at -1; the call is kept
    // for owners that close searches as part of their clean-up.
    void closeSearches(int which);

    const std::string& drive() const {
        return drive_;
    }
    const std::string& directory() const {
        return directory_;
    }
    const std::string& fileName() const {
        return fileName_;
    }
    const std::string& extension() const {
        return extension_;
    }
    const std::vector<std::string>& componentList() const {
        return components_;
    }
    int searchDepth() const {
        return searchDepth_;
    }

private:
    bool copiesBySystem(const std::string& source, const std::string& destination,
                        bool failIfExists);
    int copyByHand(const std::string& source, const std::string& destination);

    Env* env_;
    int searchDepth_ = -1;
    std::string drive_;
    std::string directory_;
    std::string fileName_;
    std::string extension_;
    std::string composedPath_;
    std::string directoryPath_;
    std::vector<std::string> components_;
};
