// KroRecord is one record type of a track (a record layout): the type's name,
// the identifier its records carry, and an ordered table of field slots, each
// holding a KroField or left undefined (a malformed field line of the
// definition leaves its slot undefined; lookups, clearing and unpacking skip
// such slots). Flows fill a record by alias and the track packs it:
//
//   KroRecord& record = track.activeRecord();
//   record.fieldByAliasOrThrow("SRT_KEY")->setValue(serial);  // throws
//   if (KroField* stamp = record.fieldByAlias("SRT_STAMP_NO")) ...
//
// Status bits: 0 defineField with an index outside the slots; 1 is named but
// set by no operation. The object has no label of its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/KroFastObject.h"
#include "records/KroField.h"

class ModalMessageBox;

class KroRecord : public KroFastObject {
public:
    static constexpr int kFieldOutOfRangeBit = 0;
    static constexpr int kRecordTooLongBit = 1;

    // messageBox shows the operator a lookup of a field index outside the
    // slots (field); nullptr shows nothing.
    explicit KroRecord(ModalMessageBox* messageBox = nullptr);
    ~KroRecord() override;

    KroRecord(const KroRecord&) = delete;
    KroRecord& operator=(const KroRecord&) = delete;

    // "Numero di campo esterno all'intervallo dichiarato" for bit 0,
    // "Superata la dimensione dichiarata per il record " for bit 1, else
    // "Errore non definito " (trailing blanks included).
    const char* errorText(int bit) const override;

    // Releases the fields, then makes count undefined slots (none for a
    // count below 1).
    void setFieldCount(int count);
    // Releases the fields; no slots.
    void clearFields();

    // Defines (or redefines) the field of slot index. description and alias
    // are left as they are when nullptr; typeName is parsed by
    // KroFieldType::parse, nullptr giving ftString. An index outside the
    // slots sets bit 0 and returns false. The form without a type name gives
    // ftUnknown.
    bool defineField(int index, const char* description, const char* alias, int length, int start,
                     const char* typeName);
    bool defineField(int index, const char* description, const char* alias, int length, int start);

    // The field of slot index, nullptr for an undefined slot. An index outside
    // the slots shows "Tentativo di lettura del campo n.%d" (caption
    // "Errore!", error icon) and returns nullptr.
    KroField* field(int index);
    const KroField* definedField(int index) const;

    // The index of the first defined field whose alias equals the text
    // (exactly when caseSensitive, else ignoring case), or -1. Fields without
    // an alias never match.
    int indexOfAlias(std::string_view alias) const;
    KroField* fieldByAlias(std::string_view alias);
    // As fieldByAlias, but an alias the record lacks throws std::runtime_error
    // with "Campo " + alias + " non previsto sul record " + the type's name.
    KroField* fieldByAliasOrThrow(std::string_view alias);

    // Every defined field's value becomes empty.
    void clearValues();
    // Gives every defined field its slice of the record text (from its start,
    // at most its length characters, blanks kept); a field starting beyond
    // the text gets an empty value.
    void unpack(std::string_view recordText);

    // The identifier, with the first "\b" (backslash, b) replaced by a blank.
    void setId(std::string_view text);
    void setTypeName(std::string_view text) { typeName_ = text; }
    void setCaseSensitive(bool caseSensitive) { caseSensitive_ = caseSensitive; }

    // Copies the identifier, the type's name, caseSensitive and the field
    // layout (description, alias, length, start, type) of another record;
    // values are not copied.
    void assign(const KroRecord& other);

    int count() const { return static_cast<int>(fields_.size()); }
    bool caseSensitive() const { return caseSensitive_; }
    const std::string& identifier() const { return identifier_; }
    const std::string& typeName() const { return typeName_; }

private:
    bool aliasMatches(const KroField& field, std::string_view alias) const;

    ModalMessageBox* messageBox_;
    bool caseSensitive_ = false;
    std::vector<std::unique_ptr<KroField>> fields_;
    std::string identifier_;
    std::string typeName_;
};
