#include "support/TestDatabase.h"

#include <arpa/inet.h>
#include <mysql.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

TestServer readServerFile() {
    const char* path = std::getenv("ORVAX_TEST_SERVER");
    if (path == nullptr) {
        throw std::runtime_error(
            "ORVAX_TEST_SERVER is not set: run the database tests through ctest, which starts "
            "the test server");
    }
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error(std::string("the test server is not running (no ") + path + ")");
    }
    TestServer server;
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (key == "host") {
            server.host = value;
        } else if (key == "port") {
            server.port = std::atoi(value.c_str());
        } else if (key == "user") {
            server.user = value;
        } else if (key == "password") {
            server.password = value;
        }
    }
    return server;
}

std::string uniqueName() {
    static int counter = 0;
    return "orvax_t" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

}  // namespace

const TestServer& testServer() {
    static const TestServer server = readServerFile();
    return server;
}

int closedPort() {
    // A port the system hands out and that is closed again at once.
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

TestDatabase::TestDatabase() : name_(uniqueName()) {
    create();
}

TestDatabase::TestDatabase(const std::string& name) : name_(name) {
    create();
}

void TestDatabase::create() {
    connect();
    exec("DROP DATABASE IF EXISTS `" + name_ + "`");
    exec("CREATE DATABASE `" + name_ + "`");
    exec("USE `" + name_ + "`");
}

void TestDatabase::reconnect() {
    if (mysql_ != nullptr) {
        mysql_close(mysql_);
        mysql_ = nullptr;
    }
    connect();
    exec("USE `" + name_ + "`");
}

void TestDatabase::connect() {
    const TestServer& server = testServer();
    mysql_ = mysql_init(nullptr);
    mysql_options(mysql_, MYSQL_SET_CHARSET_NAME, "latin1");
    const unsigned int protocol = MYSQL_PROTOCOL_TCP;
    mysql_options(mysql_, MYSQL_OPT_PROTOCOL, &protocol);
    if (mysql_real_connect(mysql_, server.host.c_str(), server.user.c_str(),
                           server.password.c_str(), nullptr, static_cast<unsigned int>(server.port),
                           nullptr, 0) == nullptr) {
        const std::string error = mysql_error(mysql_);
        mysql_close(mysql_);
        mysql_ = nullptr;
        throw std::runtime_error("cannot reach the test server: " + error);
    }
}

TestDatabase::~TestDatabase() {
    if (mysql_ != nullptr) {
        const std::string drop = "DROP DATABASE IF EXISTS `" + name_ + "`";
        mysql_real_query(mysql_, drop.data(), drop.size());
        mysql_close(mysql_);
    }
}

void TestDatabase::exec(const std::string& sql) {
    if (mysql_real_query(mysql_, sql.data(), sql.size()) != 0) {
        ADD_FAILURE() << "fixture statement failed: " << sql << "\n" << mysql_error(mysql_);
        return;
    }
    if (MYSQL_RES* result = mysql_store_result(mysql_)) {
        mysql_free_result(result);
    }
}

std::vector<TestDatabase::Row> TestDatabase::rows(const std::string& sql) {
    std::vector<Row> rows;
    if (mysql_real_query(mysql_, sql.data(), sql.size()) != 0) {
        ADD_FAILURE() << "fixture query failed: " << sql << "\n" << mysql_error(mysql_);
        return rows;
    }
    MYSQL_RES* result = mysql_store_result(mysql_);
    if (result == nullptr) {
        return rows;
    }
    const unsigned int columns = mysql_num_fields(result);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        Row values(columns);
        for (unsigned int i = 0; i < columns; ++i) {
            if (row[i] != nullptr) {
                values[i].emplace(row[i], lengths[i]);
            }
        }
        rows.push_back(std::move(values));
    }
    mysql_free_result(result);
    return rows;
}

std::string TestDatabase::scalar(const std::string& sql) {
    const std::vector<Row> found = rows(sql);
    if (found.empty() || found.front().empty()) {
        return "";
    }
    return found.front().front().value_or("NULL");
}

std::string TestDatabase::connectionString() const {
    const TestServer& server = testServer();
    // The file's lines are read in pieces of 102 characters: one entry a line.
    return "Provider=MySQL\r\nData Source=" + server.host + "\r\nInitial Catalog=" + name_ +
           "\r\nUser ID=" + server.user + "\r\nPassword=" + server.password +
           "\r\nPort=" + std::to_string(server.port) + "\r\n";
}
