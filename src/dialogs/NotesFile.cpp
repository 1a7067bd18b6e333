#include "dialogs/NotesFile.h"

#include <cstdio>

#include "core/Text.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

#ifdef _WIN32
constexpr char kNativeSeparator = '\\';
#else
constexpr char kNativeSeparator = '/';
#endif

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool readWholeFile(std::FILE* stream, std::string* bytes) {
    char block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, stream)) > 0) {
        bytes->append(block, got);
    }
    return std::ferror(stream) == 0;
}

// Splits at CR LF, lone CR and lone LF; a line end after the last line does
// not start another line.
std::vector<std::u16string> splitLines(const std::u16string& content) {
    std::vector<std::u16string> lines;
    std::u16string line;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char16_t c = content[i];
        if (c != u'\r' && c != u'\n') {
            line += c;
            continue;
        }
        if (c == u'\r' && i + 1 < content.size() && content[i + 1] == u'\n') {
            ++i;
        }
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

NotesFile::NotesFile(Env* env) : env_(env) {}

std::string NotesFile::pathFor(std::string_view folder, std::string_view programName) {
    std::string path(folder);
    if (!path.empty() && !isSeparator(path.back())) {
        const std::size_t used = path.find_first_of("\\/");
        path += used == std::string::npos ? kNativeSeparator : path[used];
    }
    path += programName;
    path += ".REV";
    return path;
}

NotesFile::LoadResult NotesFile::load(const std::string& path, std::vector<std::u16string>* lines) {
    if (!env_->fileExists(path) || env_->isDirectory(path)) {
        return kMissing;
    }
    std::FILE* stream = env_->openStream(path, "rb");
    if (stream == nullptr) {
        return kUnreadable;
    }
    std::string bytes;
    const bool read = readWholeFile(stream, &bytes);
    std::fclose(stream);
    if (!read) {
        return kUnreadable;
    }
    utf8_ = std::string_view(bytes).starts_with(kUtf8Mark);
    *lines = splitLines(utf8_ ? text::fromUtf8(std::string_view(bytes).substr(kUtf8Mark.size()))
                              : text::toWide(bytes));
    return kLoaded;
}

bool NotesFile::save(const std::string& path, const std::vector<std::u16string>& lines) {
    std::string bytes(utf8_ ? kUtf8Mark : std::string_view());
    for (const std::u16string& line : lines) {
        bytes += utf8_ ? text::toUtf8(line) : text::toNarrow(line);
        bytes += "\r\n";
    }
    std::FILE* stream = env_->openStream(path, "wb");
    if (stream == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    const bool closed = std::fclose(stream) == 0;
    return written && closed;
}
