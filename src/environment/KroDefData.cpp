#include "environment/KroDefData.h"

#include "environment/KroDir.h"
#include "records/KroFile.h"

namespace {

// The field at offset, up to width characters or a first byte 0, trailing
// blanks removed; empty beyond the end of the line.
std::string fieldAt(std::string_view line, std::size_t offset, std::size_t width) {
    if (offset >= line.size()) {
        return std::string();
    }
    std::string_view field = line.substr(offset, width);
    field = field.substr(0, field.find('\0'));
    const std::size_t last = field.find_last_not_of(' ');
    return std::string(last == std::string_view::npos ? std::string_view()
                                                      : field.substr(0, last + 1));
}

// The decimal value of a field's leading digits (after leading blanks); 0 when
// it has none.
int32_t decimalValue(std::string_view field) {
    std::size_t i = field.find_first_not_of(' ');
    int32_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
    }
    return value;
}

}  // namespace

KroDefData::KroDefData(std::string_view folder, Env* env) {
    setName("Dati Utente");
    const std::string path = KroDir::findFile(env, folder, kFileName);
    if (path.empty()) {
        return;
    }
    KroFile file(false, env);
    file.setRecordLength(kRecordLength);
    // Read-only: a file opened for update would be removed on closing when
    // empty. A directory would open for reading on POSIX: not a file.
    if (env->fileSize(path) < 0 || !file.open(path.c_str(), KroFile::kReadOnly)) {
        status_.set(kUnreadableBit);
        return;
    }
    const int length = file.readLine(kRecordLength + 2, false);
    if (length <= kRecordLength) {
        takeFields(length > 0 ? std::string_view(file.buffer(), static_cast<std::size_t>(length))
                              : std::string_view());
    }
    file.close();
}

const char* KroDefData::errorText(int bit) const {
    switch (bit) {
        case kUnreadableBit:
            return "Errore in lettura Dati Utente";
        case kUnexpectedSizeBit:
            return "Dimensione di 'Defdata.dat' inattesa";
        default:
            return "Errore non definito ";
    }
}

void KroDefData::takeFields(std::string_view line) {
    firstText_ = fieldAt(line, 0, 50);
    secondText_ = fieldAt(line, 50, 50);
    fiveCharCode_ = fieldAt(line, 100, 5);
    fortyCharText_ = fieldAt(line, 105, 40);
    twoCharCode_ = fieldAt(line, 145, 2);
    fortySixCharText_ = fieldAt(line, 147, 46);
    stationCode_ = fieldAt(line, 193, 4);
    stationNumber_ = decimalValue(fieldAt(line, 197, 2));
    secondFlag_ = decimalValue(fieldAt(line, 199, 1)) != 0;
    firstFlag_ = decimalValue(fieldAt(line, 200, 1)) != 0;
    firstPath_ = fieldAt(line, 201, 256);
    secondPath_ = line.size() == kRecordLength ? fieldAt(line, 457, 512) : std::string();
}
