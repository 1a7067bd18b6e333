// KroField is one field of a record layout: a slice of the fixed-width record
// text given by its 1-based start position and its length, with a
// description, the alias by which the flows address it, a type code and the
// current value. Values are plain text; the track copies them into its record
// buffer left-aligned and reads them back from it.
//
//   KroField* key = record.fieldByAliasOrThrow("SRT_KEY");
//   key->setValue(u"0123456789AB");   // cut to the field's length
//   std::u16string shown = key->value();
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "records/KroFieldType.h"

class KroField {
public:
    KroField() = default;
    virtual ~KroField() = default;

    KroField(const KroField&) = default;
    KroField& operator=(const KroField&) = default;

    // The text becomes the value (a wide text is converted to the suite's code
    // page), cut to the field's length when longer. Nothing is added or
    // trimmed: a shorter value stays shorter.
    void setValue(std::u16string_view text);
    void setValue(std::string_view text);
    // The value, widened; the text stays valid until the value changes.
    const std::u16string& value() const;
    // The value as stored, in the suite's code page.
    const std::string& narrowValue() const { return value_; }
    void clearValue() { value_.clear(); }

    // Keeps a copy without the double quotes at its end, so a description
    // written "ABC" (quotes included) keeps the leading quote: "ABC.
    void setDescription(std::string_view text);
    // Keeps the text up to its first blank (all of it when there is none).
    void setAlias(std::string_view text);

    void setStart(int start) { start_ = start; }
    void setLength(int length) { length_ = length; }
    void setType(KroFieldType::Code type) { type_ = type; }

    int start() const { return start_; }
    int length() const { return length_; }
    KroFieldType::Code type() const { return type_; }
    // nullptr until set.
    const char* description() const { return description_ ? description_->c_str() : nullptr; }
    const char* alias() const { return alias_ ? alias_->c_str() : nullptr; }

    // A description beginning with a double quote makes the field a constant:
    // every new record gives it the rest of the description as value.
    bool isConstant() const;
    // The constant's text: the description after its leading quote.
    std::string_view constantText() const;

private:
    std::string value_;
    mutable std::u16string wideValue_;
    int start_ = 0;
    int length_ = 0;
    KroFieldType::Code type_ = KroFieldType::ftString;
    std::optional<std::string> description_;
    std::optional<std::string> alias_;
};
