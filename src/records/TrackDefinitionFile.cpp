#include "records/TrackDefinitionFile.h"

#include <vector>

#include "core/SuiteText.h"

namespace {

constexpr std::size_t kSlotLength = 9;
constexpr std::size_t kFieldLineLimit = 256;

std::vector<std::string_view> itemsOf(std::string_view line) {
    std::vector<std::string_view> items;
    std::size_t at = line.find_first_not_of(' ');
    while (at != std::string_view::npos) {
        const std::size_t end = line.find(' ', at);
        items.push_back(line.substr(at, end == std::string_view::npos ? end : end - at));
        at = line.find_first_not_of(' ', end);
    }
    return items;
}

std::optional<std::string> textAfter(std::string_view line, std::string_view marker) {
    const std::size_t at = line.find(marker);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(line.substr(at + marker.size()));
}

}  // namespace

TrackDefinitionFile::TrackDefinitionFile(Env* env) : file_(true, env) {}

bool TrackDefinitionFile::open(const std::string& path) {
    return file_.setRecordLength(kRecordLength) && file_.open(path.c_str(), KroFile::kReadOnly);
}

bool TrackDefinitionFile::nextLine(std::string* line) {
    lineStart_ = file_.position();
    const int length = file_.readLine(0, true);
    if (length < 0) {
        return false;
    }
    line->assign(file_.buffer(), static_cast<std::size_t>(length));
    return true;
}

// The position of the line itself rather than its length plus a CR LF: the
// same place in a file of CR LF lines, and still the right one for a line
// ended by LF alone, by the end of the file or cut into pieces.
void TrackDefinitionFile::rereadLastLine() {
    if (lineStart_ >= 0) {
        file_.seek(lineStart_, KroFile::kFromStart, false);
    }
}

int64_t TrackDefinitionFile::bytesLeft() {
    const int64_t size = file_.fileSize();
    const int64_t at = file_.position();
    return (size < 0 || at < 0 || at > size) ? 0 : size - at;
}

std::optional<TrackDefinitionFile::Key> TrackDefinitionFile::findKey(std::string_view line,
                                                                     std::string_view keyText) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t at = keyText.find(line.substr(0, equals));
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return Key{static_cast<int>(at / kSlotLength), line.substr(equals + 1)};
}

bool TrackDefinitionFile::isSkipped(std::string_view line) {
    return !line.empty() && (line.front() == '\r' || line.front() == ' ' || line.front() == ';');
}

bool TrackDefinitionFile::isFieldLine(std::string_view line) {
    return !line.empty() && line.front() >= '0' && line.front() <= '9';
}

std::optional<TrackDefinitionFile::FieldLine> TrackDefinitionFile::parseFieldLine(
    std::string_view line) {
    const std::vector<std::string_view> items = itemsOf(line.substr(0, kFieldLineLimit));
    if (items.size() < 4) {
        return std::nullopt;
    }
    FieldLine field;
    field.start = suitetext::readDecimal(items[1]);
    field.length = suitetext::readDecimal(items[2]);
    field.description = items[3];
    field.alias = textAfter(line, "ALIAS=");
    field.typeName = textAfter(line, "TYPE=").value_or("ftString");
    return field;
}
