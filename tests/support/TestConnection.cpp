#include "support/TestConnection.h"

#include "platform/MySqlConnection.h"
#include "support/TestDatabase.h"

void useTestServer(MySqlConnection& connection, const std::string& database) {
    const TestServer& server = testServer();
    connection.setServer(server.host);
    connection.setPort(server.port);
    connection.setUsername(server.user);
    connection.setPassword(server.password);
    connection.setDatabase(database);
    connection.setConnectionTimeout(5);
}
