#include "FaultServer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "support/TestDatabase.h"

std::string FaultServer::stateFolder() {
    return ORVAX_FAULT_SERVER_STATE;
}

void FaultServer::kill() {
    std::ifstream file(stateFolder() + "/server.pid");
    pid_t pid = 0;
    file >> pid;
    ASSERT_GT(pid, 0) << "no fault server running";
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    // The server is not our child: wait until the process is gone.
    for (int i = 0; i < 600 && ::kill(pid, 0) == 0; ++i) {
        usleep(50 * 1000);
    }
    ASSERT_NE(::kill(pid, 0), 0) << "the fault server survived SIGKILL";
}

void FaultServer::restart() {
    const std::string command =
        "ORVAX_DB_KEEP=1 ORVAX_DB_PORT=" + std::to_string(testServer().port) +
        " ORVAX_DB_SETTINGS=innodb_flush_log_at_trx_commit=1 " +
        ORVAX_SERVER_SCRIPTS "/start.sh '" + stateFolder() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << "the fault server did not start again";
}
