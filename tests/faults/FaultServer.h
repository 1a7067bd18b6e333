// The fault tests' own MariaDB server, which they may kill and start again.
// CTest starts it (tests/server/start.sh, durable commits) in its own state
// folder (build/tests/mariadb-faults) and hands its address to the fixtures
// through ORVAX_TEST_SERVER, as for the other tests; these tests run one at
// a time so that no other test sees the server go.
//
//   FaultServer::kill();      // SIGKILL, as a crash or a power cut does
//   FaultServer::restart();   // the same data, the same port
#pragma once

#include <string>

class FaultServer {
public:
    // Kills the server process and waits until it is gone.
    static void kill();
    // Starts it again on its data and its port; the test fails when it
    // does not come back.
    static void restart();

private:
    static std::string stateFolder();
};
