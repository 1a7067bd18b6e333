// Writes the demo vault: a suite installation in a folder (paths file, user
// data, witness of the job EFFETTI01_CA dated 31/05/2024, work mode, the
// connection string, the sorter's layout and the extraction log's layout)
// and, on the first run only, the job's document table on the demo server
// with a few thousand documents, and the operator in the users table.
//
//   orvax_demo_vault HOME SERVER_INFO LOGIN
//
// SERVER_INFO is the server.info file written by tests/server/start.sh.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "platform/MySqlConnection.h"
#include "platform/MySqlQuery.h"
#include "support/DocumentTable.h"
#include "support/SorterTrack.h"
#include "support/SuiteRecords.h"

namespace {

constexpr const char* kDatabase = "VAULTDEMO";
constexpr const char* kDocTable = "EFFETTI01_CA_240531_GUI_DOC";
constexpr int kDocuments = 3000;

std::map<std::string, std::string> readServerInfo(const std::string& path) {
    std::map<std::string, std::string> info;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) {
            info[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return info;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writeSuiteTree(const std::filesystem::path& home, std::map<std::string, std::string>& info) {
    std::vector<std::string> folders;
    for (const char* name : {"PAR", "LAV", "QRY", "USR", "AUX", "PAT"}) {
        std::filesystem::create_directories(home / name);
        folders.push_back(std::filesystem::absolute(home / name).string());
    }
    writeFile(home / "PERCORSI.PAT", pathsFile(folders));
    const DefDataFields defData;
    writeFile(home / "USR" / "DEFDATA.DAT", defDataLine(defData));
    const WitnessFields witness;
    writeFile(home / "LAV" / witnessFileName(defData.stationCode, defData.stationNumber),
              witnessRecord(witness));
    WorkModeFields workMode;
    workMode.params[5] = "01";  // the class of the documents of this job
    writeFile(home / "PAR" / (witness.jobName + ".LAV"), workModeArchive(workMode));
    writeFile(home / "PAR" / (workMode.names[7] + ".CNS"),
              "Provider=MySQL\r\nData Source=" + info["host"] + "\r\nInitial Catalog=" + kDatabase +
                  "\r\nUser ID=" + info["user"] + "\r\nPassword=" + info["password"] +
                  "\r\nPort=" + info["port"] + "\r\n");
    writeSorterTrack((home / "PAT").string());
    writeFile(home / "PAT" / "Orvax.TBL", extractionLogLayout());
}

bool run(MySqlConnection& connection, const std::string& sql) {
    MySqlQuery query(&connection);
    query.setSql(sql);
    if (!query.execute()) {
        std::cerr << "orvax_demo_vault: " << query.lastError() << "\n";
        return false;
    }
    return true;
}

bool tableExists(MySqlConnection& connection) {
    MySqlQuery query(&connection);
    query.setSql(std::string("SHOW TABLES FROM ") + kDatabase + " LIKE '" + kDocTable + "'");
    return query.open() && !query.eof();
}

bool fillDatabase(std::map<std::string, std::string>& info, const std::string& login) {
    MySqlConnection connection;
    connection.setServer(info["host"]);
    connection.setPort(std::stoi(info["port"]));
    connection.setUsername(info["user"]);
    connection.setPassword(info["password"]);
    if (!connection.open()) {
        std::cerr << "orvax_demo_vault: " << connection.lastError() << "\n";
        return false;
    }
    if (!run(connection, std::string("CREATE DATABASE IF NOT EXISTS ") + kDatabase) ||
        !run(connection, "CREATE DATABASE IF NOT EXISTS QuorvelNet") ||
        !run(connection,
             "CREATE TABLE IF NOT EXISTS QuorvelNet.auth_users (UserID VARCHAR(64), Nome "
             "VARCHAR(40))") ||
        !run(connection, "DELETE FROM QuorvelNet.auth_users WHERE UserID='" + login + "'") ||
        !run(connection, "INSERT INTO QuorvelNet.auth_users VALUES ('" + login + "', 'Demo')")) {
        return false;
    }
    if (tableExists(connection)) {
        return true;  // a later run works on the same documents
    }
    const std::string table = std::string(kDatabase) + "." + kDocTable;
    if (!run(connection, documentTableStatement(table))) {
        return false;
    }
    RealisticOptions options;
    options.documents = kDocuments;
    options.loadDays = 20;
    RealisticDocuments documents(options);
    bool ok = true;
    forEachInsert(
        table, [&documents](Document& d) { return documents.next(d); }, 500,
        [&](const std::string& sql) { ok = ok && run(connection, sql); });
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: orvax_demo_vault HOME SERVER_INFO LOGIN\n";
        return 2;
    }
    std::map<std::string, std::string> info = readServerInfo(argv[2]);
    if (info["host"].empty() || info["port"].empty()) {
        std::cerr << "orvax_demo_vault: no server described in " << argv[2] << "\n";
        return 1;
    }
    const std::string login = argv[3];
    if (login.find_first_of("'\\") != std::string::npos) {
        std::cerr << "orvax_demo_vault: unusable login name\n";
        return 1;
    }
    writeSuiteTree(argv[1], info);
    return fillDatabase(info, login) ? 0 : 1;
}
