// Writes the demo vault: a suite installation in a folder (paths file, user
// data, witness of the job EFFETTI01_CA dated 31/05/2024, work mode, the
// connection string, the sorter's layout and the extraction log's layout)
// and, on the first run only, the job's document table on the demo server
// with a few thousand documents; on every run the operator in the users
// table and, when missing, the guide's remittances, the vault's recalled
// items and the vault's document table, so that the selection flow and the
// remittance report have something to write.
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
#include <vector>

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

bool fillDocuments(MySqlConnection& connection) {
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
    // Due dates over two months, amounts of every size, a stamp of their own
    // for one document in fifty, each document's place in its dossier.
    return ok &&
           run(connection, "UPDATE " + table +
                               " SET SCADENZA = DATE_ADD('2024-06-01', INTERVAL Num_Effetto % 61 "
                               "DAY), Importo = 50 + (Num_Effetto % 997) * 13.37, Prg1 = Doc_Prg, "
                               "Prg2 = Prg, Deb_RagSoc = CONCAT('Cliente ', Prg)");
}

// The guide's remittances (presentation batches 1 to 40: the blocks the
// recalled-items flow stamps), the vault's recalled items (due in and out
// of the guide's dates, of this job's type and of another, one without a
// serial) and the vault's documents of the type CA.
std::vector<std::string> guideAndVaultStatements() {
    const std::string db = std::string(kDatabase) + ".";
    const std::string doc = db + kDocTable;
    std::string batches;
    for (int batch = 1; batch <= 40; ++batch) {
        batches += (batch > 1 ? ",(" : "(") + std::to_string(batch) + ")";
    }
    return {
        "ALTER TABLE " + doc + " ADD COLUMN IF NOT EXISTS FRZ_Z1 INT NOT NULL DEFAULT 0",
        "UPDATE " + doc + " SET FRZ_Z1 = 7 WHERE Num_Effetto % 50 = 0",
        "CREATE TABLE IF NOT EXISTS " + db + "EFFETTI01_CA_240531_GUI_DIST (Lotto_Pres INT "
        "PRIMARY KEY)",
        "INSERT IGNORE INTO " + db + "EFFETTI01_CA_240531_GUI_DIST VALUES " + batches,
        "CREATE TABLE IF NOT EXISTS " + db + "CAVEAU_RR_VER (SERIAL VARCHAR(10) UNIQUE, "
        "SCADENZA DATE, TC VARCHAR(2))",
        "INSERT IGNORE INTO " + db + "CAVEAU_RR_VER VALUES ('9000000001', '2024-06-03', 'CA'), "
        "('9000000002', '2024-06-15', 'CA'), ('9000000003', '2024-07-20', 'CA'), "
        "('9000000004', '2024-07-30', 'CA'), ('9000000005', '2024-06-15', 'CO'), "
        "('9000000006', '2024-09-30', 'CA'), (NULL, '2024-06-20', 'CA')",
        "CREATE TABLE IF NOT EXISTS " + db + "CAVEAU_CA_DOC (Serial VARCHAR(10) PRIMARY KEY, "
        "Lotto_Pres INT, Data_Pres DATE, Prg1 INT, Prg2 INT)",
        "INSERT IGNORE INTO " + db + "CAVEAU_CA_DOC (Serial) SELECT Serial FROM " + doc +
            " WHERE Serial IS NOT NULL",
    };
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
    if (!tableExists(connection) && !fillDocuments(connection)) {
        return false;
    }
    // Every run: the tables of the selection and the remittances, made when
    // missing (a demo vault of an older version gets them too).
    for (const std::string& sql : guideAndVaultStatements()) {
        if (!run(connection, sql)) {
            return false;
        }
    }
    return true;
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
