// MySqlQuery is the data set of an SQL text given with setSql: the kind of
// data set the database gateway makes for its numbered statements.
#pragma once

#include "platform/MySqlDataSet.h"

class MySqlQuery : public MySqlDataSet {
public:
    using MySqlDataSet::MySqlDataSet;
};
