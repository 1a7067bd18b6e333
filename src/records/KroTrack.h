// KroTrack is a record layout loaded from a track definition file (a "trk"
// text file of the suite, kept in the pattern folder) and, at the same time,
// the flow file laid out by it: it derives from KroFile, so the same object
// opens the flow file, reads a record and recognises its type, or composes a
// record field by field (by alias) and appends it.
//
//   KroTrack track(&messageBox);
//   if (!track.load(patternFolder + "SORTER.trk")) ...   // bits 8 and 9
//   track.setMode(KroFile::kCreate);
//   track.setFileName(flowPath);
//   track.openOrThrow(true);
//   track.selectByName("SORTER");                         // a new record
//   track.activeRecord().fieldByAliasOrThrow("SRT_KEY")->setValue(serial);
//   track.writeActive(-1);                                // appends it
//
// The definition: header lines TRK_NAME=, REC_LEN=, TYPES=, ID_POS= and
// optionally VAR_LEN=; then for each type n a section [REC_nn] with REC_NAME=,
// REC_ID= ("\b" for one blank) and FIELDS=, then one line per field:
//   1) 0002 0010 Key ALIAS=SRT_KEY TYPE=ftString
// (ordinal, 1-based start, length, one-word description, optional alias and
// type; a description beginning with a double quote makes a constant).
//
// Values are packed left-aligned at their start; an empty or all-blank value
// leaves the buffer as prepared (blanks, the identifier, constants). Reading
// a record recognises its type by the identifier at ID_POS and fills the
// type's values with their slices of the record, blanks included.
//
// Status bits besides those of KroFile: 8 the definition exists but cannot be
// opened; 9 the definition is incomplete or unusable; 11 a record read
// carries no declared identifier; 13 a flow file without line ends is not a
// whole number of records (10 and 12 are named only). activeRecord throws
// std::runtime_error when no type is active; so does a record's
// fieldByAliasOrThrow for an alias its type lacks.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Env.h"
#include "records/KroFile.h"
#include "records/KroRecord.h"

class ModalMessageBox;
class TrackDefinitionFile;

class KroTrack : public KroFile {
public:
    static constexpr int kDefinitionUnreadableBit = 8;
    static constexpr int kDefinitionIncompleteBit = 9;
    static constexpr int kUndefinedTypeBit = 10;
    static constexpr int kUndeclaredRecordBit = 11;
    static constexpr int kCrWithoutLfBit = 12;
    static constexpr int kNotWholeRecordsBit = 13;

    // A definition asking for a longer record is refused (bit 9).
    static constexpr int kMaxRecordLength = 65535;

    // Records end with CR LF until a flow file opened says otherwise.
    // messageBox goes to the record types (KroRecord::field).
    explicit KroTrack(ModalMessageBox* messageBox = nullptr, Env* env = Env::Default());
    ~KroTrack() override;

    // The texts of bits 8 to 13; the KroFile texts for every other bit.
    const char* errorText(int bit) const override;

    // Opens a flow file as KroFile::open does, then looks at its start: line
    // ends CR LF, none, or LF alone (read as lines). A file that is not a
    // whole number of records is read as lines when it has line ends, and
    // refused (bit 13, closed, false) when it has none. An empty or short
    // file opens as it is. Clears bits 9 to 31 first.
    bool open(const char* name, int mode) override;
    // Reads record index (-1: the next; lines: the next non-empty line),
    // makes its type active and fills the type's values. A record whose
    // identifier matches no type (with two types or more) leaves no type
    // active and sets bit 11. False at the end of the file as well.
    bool readRecord(int index) override;
    // With a single type, makes it active and empties its values; otherwise
    // no type is active. Then fills the buffer with blanks.
    void clearBuffer() override;

    // Starts a new record of a type: buffer of blanks, the identifier at
    // ID_POS, values emptied, constants given their text. False (nothing
    // done) for an index outside the types.
    virtual bool prepareRecord(int typeIndex);
    // Prepares every type whose name or identifier equals the text, case
    // ignored; the last stays active. False when none matches (nothing
    // changes then).
    virtual bool selectByName(std::string_view text);
    // Packs the active record into the buffer and writes it (-1: at the
    // current position). False without an active type, when a value could
    // not be placed (bit 6; nothing written) or when the write fails.
    virtual bool writeActive(int recordIndex);
    // As writeActive, with the identifier area filled with fill.
    virtual bool writeActiveFilled(int recordIndex, char fill);

    // Reads a definition. False when the file does not exist (no bit), cannot
    // be opened (bit 8) or is incomplete or unusable (bit 9): no record type,
    // REC_LEN outside 1 to kMaxRecordLength, a negative ID_POS, an identifier
    // area beyond the record, more types or fields than the file can hold. A
    // field whose slice lies outside the record, like a malformed field line,
    // leaves its slot undefined. A failed load leaves what it read so far.
    bool load(const std::string& fileName);

    // The active type; throws std::runtime_error with "Nessun record attivo:
    // operazione non valida" when none is.
    KroRecord& activeRecord();
    // Makes a type active and writes its identifier into the buffer at
    // ID_POS (ID_POS 0: nowhere). False for an index outside the types.
    bool selectType(int typeIndex);
    // Releases the types; type count 0, none active.
    void clearTypes();
    // Releases the types and makes count empty slots (none below 1).
    void setTypeCount(int count);

    // The type of slot index, nullptr outside the types or for an empty slot.
    KroRecord* recordType(int index);

    bool variable() const { return variable_; }
    bool loaded() const { return loaded_; }
    const std::string& trackName() const { return trackName_; }
    // -1 after construction.
    int typeCount() const { return typeCount_; }
    // -1 when none.
    int activeType() const { return activeType_; }
    int idPos() const { return idPos_; }
    // The identifier's length: that of the last REC_ID read, "\b" counted as
    // the one blank it stands for.
    int idLen() const { return idLen_; }

private:
    void forgetDefinition();
    bool readHeader(TrackDefinitionFile& definition);
    void applyHeaderKey(int slot, std::string_view value, TrackDefinitionFile& definition);
    bool readType(TrackDefinitionFile& definition, int number);
    bool readTypeKeys(TrackDefinitionFile& definition, KroRecord& type, int64_t* fieldCount);
    bool readField(TrackDefinitionFile& definition, KroRecord& type, int index);
    bool identifierFitsRecord() const;

    bool hasType(int typeIndex) const;
    int typeOfRecordRead() const;
    bool identifierAt(const KroRecord& type) const;
    std::string identifierText(const KroRecord& type) const;
    bool packActive();

    ModalMessageBox* messageBox_;
    bool variable_ = false;
    bool definedVariable_ = false;  // VAR_LEN of the definition
    bool loaded_ = false;
    std::string trackName_;
    int typeCount_ = -1;
    int activeType_ = -1;
    int idPos_ = 0;
    int idLen_ = 0;
    std::vector<std::unique_ptr<KroRecord>> types_;
};
