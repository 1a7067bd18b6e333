// MySqlField is one column of a data set, read (and, while the data set is
// being edited, written) in the current row:
//
//   dataSet.fieldByName("Lotto_Pres").asInteger()
//
// A field belongs to its data set and lives until the data set is next
// opened. NULL reads as an empty text, 0 and 0.0; isNull() tells it apart.
// The stand-in that fieldByName gives for a name the result lacks reads as
// NULL and refuses every change.
#pragma once

#include <cstdint>
#include <string>

#include "platform/MySqlResult.h"

class MySqlDataSet;

class MySqlField {
public:
    // index -1 makes the stand-in of a missing field.
    MySqlField(MySqlDataSet* owner, int index, MySqlColumn column);

    const std::string& fieldName() const { return column_.name; }
    const MySqlColumn& column() const { return column_; }
    // False for the stand-in of a name the result lacks.
    bool exists() const { return index_ >= 0; }
    // An expression (or a column of no table): never written back.
    bool isComputed() const;

    bool isNull() const;
    std::string asString() const;
    // A decimal text is rounded; a text that is no number gives 0.
    int64_t asInteger() const;
    // A text that is no number gives 0.0.
    double asFloat() const;

    // Only while the data set is being edited (MySqlDataSet::edit); false
    // otherwise, with the reason in the data set's lastError().
    bool setAsString(const std::string& value);
    bool setAsInteger(int64_t value);
    bool setAsFloat(double value);
    bool setNull();

private:
    const MySqlValue* value() const;
    bool set(MySqlValue value);

    MySqlDataSet* owner_;
    int index_;
    MySqlColumn column_;
};
