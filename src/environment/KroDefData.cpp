#include "environment/KroDefData.h"

#include "core/SuiteText.h"
#include "environment/KroDir.h"
#include "records/KroFile.h"

namespace {

using suitetext::fieldText;

int32_t decimalValue(std::string_view field) {
    return static_cast<int32_t>(suitetext::readDecimal(field));
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
    firstText_ = fieldText(line, 0, 50);
    secondText_ = fieldText(line, 50, 50);
    fiveCharCode_ = fieldText(line, 100, 5);
    fortyCharText_ = fieldText(line, 105, 40);
    twoCharCode_ = fieldText(line, 145, 2);
    fortySixCharText_ = fieldText(line, 147, 46);
    stationCode_ = fieldText(line, 193, 4);
    stationNumber_ = decimalValue(suitetext::fieldAt(line, 197, 2));
    secondFlag_ = decimalValue(suitetext::fieldAt(line, 199, 1)) != 0;
    firstFlag_ = decimalValue(suitetext::fieldAt(line, 200, 1)) != 0;
    firstPath_ = fieldText(line, 201, 256);
    secondPath_ = line.size() == kRecordLength ? fieldText(line, 457, 512) : std::string();
}
