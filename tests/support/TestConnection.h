// Points a MySqlConnection of the program's MySQL layer at a database of the
// private test server (tests that exercise the layer itself use it; the
// fixtures' own statements go through TestDatabase).
#pragma once

#include <string>

class MySqlConnection;

void useTestServer(MySqlConnection& connection, const std::string& database);
