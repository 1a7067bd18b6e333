#include "records/KroTrack.h"

#include <cstdio>
#include <limits>
#include <stdexcept>

#include "core/SuiteText.h"
#include "records/TrackDefinitionFile.h"

namespace {

// Five keys in slots of nine characters.
constexpr std::string_view kHeaderKeys = "TRK_NAME=REC_LEN= TYPES=   ID_POS=  VAR_LEN= ";
enum HeaderKey { kTrackName, kRecordLength, kTypes, kIdPosition, kVariable };
constexpr unsigned kAllHeaderKeys = 0x1F;
constexpr unsigned kHeaderKeysButVariable = 0x0F;

constexpr std::string_view kTypeKeys = "REC_NAME=REC_ID=  FIELDS=";
enum TypeKey { kTypeName, kTypeId, kFieldCount };
constexpr unsigned kAllTypeKeys = 0x7;

// A section line "[REC_nn]" is eight characters; a field line at least one
// digit and its line end.
constexpr int64_t kSectionLineLength = 8;
constexpr int64_t kShortestFieldLine = 2;

int clampToInt(int64_t value) {
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (value < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

bool isBlankText(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

KroTrack::KroTrack(ModalMessageBox* messageBox, Env* env)
    : KroFile(true, env), messageBox_(messageBox) {
    setName("KroTrack");
}

KroTrack::~KroTrack() = default;

const char* KroTrack::errorText(int bit) const {
    switch (bit) {
        case kDefinitionUnreadableBit:
            return "Impossibile aprire il file tracciato";
        case kDefinitionIncompleteBit:
            return "Interruzione inattesa del file tracciato";
        case kUndefinedTypeBit:
            return "Tipo record non definito sul tracciato";
        case kUndeclaredRecordBit:
            return "Il record letto non è stato dichiarato";
        case kCrWithoutLfBit:
            return "Trovato Carriage return senza Line Feed";
        case kNotWholeRecordsBit:
            return "Il file non contiene un numero finito di record";
        default:
            return KroFile::errorText(bit);
    }
}

// ---- the definition ----

bool KroTrack::load(const std::string& fileName) {
    loaded_ = false;
    status_.reset(kDefinitionUnreadableBit);
    status_.reset(kDefinitionIncompleteBit);
    if (fileName.empty() || !env()->fileExists(fileName)) {
        return false;
    }
    TrackDefinitionFile definition(env());
    if (!definition.open(fileName)) {
        status_.set(kDefinitionUnreadableBit);
        return false;
    }
    forgetDefinition();
    if (!readHeader(definition)) {
        status_.set(kDefinitionIncompleteBit);
        return false;
    }
    for (int number = 1; number <= typeCount_; ++number) {
        if (!readType(definition, number)) {
            status_.set(kDefinitionIncompleteBit);
            return false;
        }
    }
    if (!identifierFitsRecord()) {
        status_.set(kDefinitionIncompleteBit);
        return false;
    }
    loaded_ = true;
    return true;
}

// A new definition starts from nothing: no values of the last one (VAR_LEN
// in particular, which is optional) carry over into it.
void KroTrack::forgetDefinition() {
    clearTypes();
    trackName_.clear();
    idPos_ = 0;
    idLen_ = 0;
    definedVariable_ = false;
    variable_ = false;
}

bool KroTrack::readHeader(TrackDefinitionFile& definition) {
    unsigned seen = 0;
    std::string line;
    while (seen != kAllHeaderKeys) {
        if (!definition.nextLine(&line)) {
            return false;
        }
        if (!line.empty() && line.front() == '[') {
            // A section may follow the four keys that must be there.
            if ((seen & kHeaderKeysButVariable) == kHeaderKeysButVariable) {
                definition.rereadLastLine();
                break;
            }
            continue;
        }
        if (TrackDefinitionFile::isSkipped(line)) {
            continue;
        }
        const auto key = TrackDefinitionFile::findKey(line, kHeaderKeys);
        if (key) {
            applyHeaderKey(key->slot, key->value, definition);
            seen |= 1u << key->slot;
        }
    }
    return buffer() != nullptr && typeCount_ > 0 && idPos_ >= 0;
}

void KroTrack::applyHeaderKey(int slot, std::string_view value, TrackDefinitionFile& definition) {
    const int64_t number = suitetext::readDecimal(value);
    switch (slot) {
        case kTrackName:
            trackName_ = value;
            break;
        case kRecordLength:
            // An impossible length leaves no record buffer (bit 2).
            setRecordLength(number >= 1 && number <= kMaxRecordLength ? static_cast<int>(number)
                                                                      : 0);
            break;
        case kTypes:
            // More types than the rest of the file has sections for cannot be
            // read; no table is made for them.
            setTypeCount(number <= definition.bytesLeft() / kSectionLineLength ? clampToInt(number)
                                                                               : 0);
            break;
        case kIdPosition:
            idPos_ = clampToInt(number);
            break;
        case kVariable:
            definedVariable_ = number != 0;
            variable_ = definedVariable_;
            break;
        default:
            break;
    }
}

bool KroTrack::readType(TrackDefinitionFile& definition, int number) {
    char section[32];
    std::snprintf(section, sizeof section, "[REC_%.2d]", number);
    const std::string_view opening = std::string_view(section).substr(0, kSectionLineLength);
    std::string line;
    do {
        if (!definition.nextLine(&line)) {
            return false;
        }
    } while (std::string_view(line).substr(0, kSectionLineLength) != opening);

    auto& slot = types_[static_cast<std::size_t>(number - 1)];
    slot = std::make_unique<KroRecord>(messageBox_);
    int64_t fieldCount = 0;
    if (!readTypeKeys(definition, *slot, &fieldCount)) {
        return false;
    }
    // Each field takes a line of its own: a count the rest of the file cannot
    // hold (or a negative one) makes the definition unusable.
    if (fieldCount < 0 || fieldCount > (definition.bytesLeft() + 1) / kShortestFieldLine ||
        fieldCount > std::numeric_limits<int>::max()) {
        return false;
    }
    slot->setFieldCount(static_cast<int>(fieldCount));
    for (int index = 0; index < slot->count(); ++index) {
        if (!readField(definition, *slot, index)) {
            return false;
        }
    }
    return true;
}

bool KroTrack::readTypeKeys(TrackDefinitionFile& definition, KroRecord& type, int64_t* fieldCount) {
    unsigned seen = 0;
    std::string line;
    while (seen != kAllTypeKeys) {
        if (!definition.nextLine(&line)) {
            return false;
        }
        if (TrackDefinitionFile::isSkipped(line)) {
            continue;
        }
        const auto key = TrackDefinitionFile::findKey(line, kTypeKeys);
        if (!key) {
            continue;
        }
        switch (key->slot) {
            case kTypeName:
                type.setTypeName(key->value);
                break;
            case kTypeId:
                type.setId(key->value);
                // The length of what records carry: "\b" is one blank there.
                idLen_ = static_cast<int>(type.identifier().size());
                break;
            case kFieldCount:
                *fieldCount = suitetext::readDecimal(key->value);
                break;
            default:
                break;
        }
        seen |= 1u << key->slot;
    }
    return true;
}

bool KroTrack::readField(TrackDefinitionFile& definition, KroRecord& type, int index) {
    std::string line;
    do {
        if (!definition.nextLine(&line)) {
            return false;
        }
    } while (!TrackDefinitionFile::isFieldLine(line));
    const auto field = TrackDefinitionFile::parseFieldLine(line);
    // A malformed line, or a slice outside the record (which could be neither
    // packed nor read whole), leaves the slot undefined.
    if (!field || field->start < 1 || field->length < 0 ||
        field->start - 1 + field->length > recordLength()) {
        return true;
    }
    type.defineField(
        index, field->description.c_str(), field->alias ? field->alias->c_str() : nullptr,
        static_cast<int>(field->length), static_cast<int>(field->start), field->typeName.c_str());
    return true;
}

// The identifier is written at ID_POS: it must lie within the record.
bool KroTrack::identifierFitsRecord() const {
    return idPos_ == 0 || idLen_ == 0 ||
           static_cast<int64_t>(idPos_) - 1 + idLen_ <= recordLength();
}

// ---- types ----

void KroTrack::clearTypes() {
    types_.clear();
    typeCount_ = 0;
    activeType_ = -1;
}

void KroTrack::setTypeCount(int count) {
    types_.clear();
    typeCount_ = count > 0 ? count : 0;
    types_.resize(static_cast<std::size_t>(typeCount_));
    activeType_ = -1;
}

bool KroTrack::hasType(int typeIndex) const {
    return typeIndex >= 0 && typeIndex < typeCount_ &&
           types_[static_cast<std::size_t>(typeIndex)] != nullptr;
}

KroRecord* KroTrack::recordType(int index) {
    return hasType(index) ? types_[static_cast<std::size_t>(index)].get() : nullptr;
}

KroRecord& KroTrack::activeRecord() {
    if (!hasType(activeType_)) {
        throw std::runtime_error("Nessun record attivo: operazione non valida");
    }
    return *types_[static_cast<std::size_t>(activeType_)];
}

// The identifier as records carry it: idLen characters, blank-padded when
// the type's own identifier is shorter.
std::string KroTrack::identifierText(const KroRecord& type) const {
    std::string text = type.identifier().substr(0, static_cast<std::size_t>(idLen_));
    text.resize(static_cast<std::size_t>(idLen_), ' ');
    return text;
}

bool KroTrack::selectType(int typeIndex) {
    if (!hasType(typeIndex)) {
        return false;
    }
    activeType_ = typeIndex;
    const KroRecord& type = *types_[static_cast<std::size_t>(typeIndex)];
    if (!type.identifier().empty() && idPos_ > 0 && idLen_ > 0) {
        putAt(identifierText(type), idPos_ - 1, idLen_);
    }
    return true;
}

bool KroTrack::prepareRecord(int typeIndex) {
    if (!hasType(typeIndex)) {
        return false;
    }
    KroFile::clearBuffer();
    selectType(typeIndex);
    KroRecord& type = *types_[static_cast<std::size_t>(typeIndex)];
    type.clearValues();
    for (int i = 0; i < type.count(); ++i) {
        KroField* field = type.field(i);
        if (field != nullptr && field->isConstant()) {
            field->setValue(field->constantText());
        }
    }
    return true;
}

bool KroTrack::selectByName(std::string_view text) {
    bool prepared = false;
    for (int i = 0; i < typeCount_; ++i) {
        const KroRecord* type = recordType(i);
        if (type != nullptr && (suitetext::sameIgnoringCase(type->typeName(), text) ||
                                suitetext::sameIgnoringCase(type->identifier(), text))) {
            prepareRecord(i);
            prepared = true;
        }
    }
    return prepared;
}

void KroTrack::clearBuffer() {
    if (typeCount_ == 1 && hasType(0)) {
        activeType_ = 0;
        types_[0]->clearValues();
    } else {
        activeType_ = -1;
    }
    KroFile::clearBuffer();
}

// ---- the flow file ----

bool KroTrack::open(const char* name, int mode) {
    for (int bit = kDefinitionIncompleteBit; bit < 32; ++bit) {
        status_.reset(bit);
    }
    // Each flow file starts from the layout's own reading, not from what the
    // previous file turned out to be.
    variable_ = definedVariable_;
    setHasLineEnd(true);
    if (!KroFile::open(name, mode)) {
        return false;
    }
    const bool appending = this->mode() == kAppend;
    const int length = recordLength();
    std::string start(2 * static_cast<std::size_t>(length) + 4, '\0');
    seek(0, kFromStart, false);
    start.resize(readRaw(start.data(), start.size()));
    // Appending stays at the end; every other mode starts reading from the start.
    const auto backToWhereOpened = [&] { appending ? seek(0, kFromEnd, false) : rewind(); };
    if (start.size() < static_cast<std::size_t>(length)) {
        backToWhereOpened();
        return true;
    }
    const std::size_t lineFeed = start.find('\n');
    const bool hasLineEnds = lineFeed != std::string::npos;
    if (!hasLineEnds) {
        setHasLineEnd(false);
    } else if (lineFeed == 0 || start[lineFeed - 1] != '\r') {
        variable_ = true;  // lines ended by LF alone are read as lines
    }
    const bool wholeRecords = !variable_ && countRecords() != -1;
    backToWhereOpened();
    if (!wholeRecords) {
        if (!hasLineEnds) {
            status_.set(kNotWholeRecordsBit);
            close();
            return false;
        }
        variable_ = true;
    }
    status_.reset(kNotWholeRecordsBit);
    return true;
}

bool KroTrack::readRecord(int index) {
    status_.reset(kUndeclaredRecordBit);
    std::size_t textLength = 0;
    if (variable_) {
        int length = 0;
        do {
            length = readLine(0, true);
            if (length < 0) {
                return false;
            }
        } while (length == 0);
        textLength = static_cast<std::size_t>(length);
    } else {
        if (!KroFile::readRecord(index)) {
            return false;
        }
        textLength = static_cast<std::size_t>(recordLength());
    }
    activeType_ = typeOfRecordRead();
    if (activeType_ < 0) {
        status_.set(kUndeclaredRecordBit);
        return false;
    }
    types_[static_cast<std::size_t>(activeType_)]->unpack(std::string_view(buffer(), textLength));
    return true;
}

int KroTrack::typeOfRecordRead() const {
    if (typeCount_ == 1) {
        return hasType(0) ? 0 : -1;
    }
    for (int i = 0; i < typeCount_; ++i) {
        if (hasType(i) && identifierAt(*types_[static_cast<std::size_t>(i)])) {
            return i;
        }
    }
    return -1;
}

// The record read carries the type's identifier at ID_POS. The buffer holds
// recordLength characters and more, so the area (within the record) is
// always inside it.
bool KroTrack::identifierAt(const KroRecord& type) const {
    if (idPos_ < 1 || buffer() == nullptr ||
        static_cast<int64_t>(idPos_) - 1 + idLen_ > recordLength()) {
        return false;
    }
    const std::string_view area(buffer() + idPos_ - 1, static_cast<std::size_t>(idLen_));
    return area == identifierText(type);
}

bool KroTrack::packActive() {
    if (!hasType(activeType_) || buffer() == nullptr) {
        return false;
    }
    KroRecord& type = *types_[static_cast<std::size_t>(activeType_)];
    bool allPlaced = true;
    for (int i = 0; i < type.count(); ++i) {
        const KroField* field = type.definedField(i);
        if (field == nullptr || isBlankText(field->narrowValue())) {
            continue;
        }
        // putAt refuses (bit 6) a field that would end beyond the record.
        if (field->start() < 1) {
            status_.set(kBeyondRecordBit);
            allPlaced = false;
        } else if (!putAt(field->narrowValue(), field->start() - 1, field->length())) {
            allPlaced = false;
        }
    }
    return allPlaced;
}

bool KroTrack::writeActive(int recordIndex) {
    return packActive() && writeRecord(recordIndex);
}

bool KroTrack::writeActiveFilled(int recordIndex, char fill) {
    if (!packActive()) {
        return false;
    }
    if (idPos_ > 0 && idLen_ > 0) {
        putAt(std::string(static_cast<std::size_t>(idLen_), fill), idPos_ - 1, idLen_);
    }
    return writeRecord(recordIndex);
}
