// orvax_bench measures the operator's job on a generated vault: for each size
// N it fills a document table of N documents (dossiers of 1 to 20 documents
// over ten load dates, realistic columns), then times, over the whole range,
// the serials and counts of the step, the pocket assignment, the
// recalled-items writing (document query, flow file, extraction log, batch
// stamp) and the whole job, with documents per second and the peak resident
// memory of the process. In the same run it times the document-by-document
// assignment (one UPDATE per document, each committed) on a table of its
// own, checks that both give the same pockets there, and compares the rates.
//
//   orvax_bench [--server FILE] [--sizes N,N,...] [--baseline N] [--work DIR]
//
// FILE is the server file tests/server/start.sh writes (default: the
// variable ORVAX_TEST_SERVER); sizes default to 10000,100000 (the variable
// ORVAX_BENCH_SIZES too, e.g. 1000000); the baseline to 10000 documents;
// DIR, where the flow files go, to a fresh folder under /tmp. `./vault bench`
// starts a server, runs this and stops the server.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Text.h"
#include "db/KroMy_DBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "flows/DocumentRange.h"
#include "flows/FlowListener.h"
#include "flows/PocketAssignment.h"
#include "flows/RecalledItemsWriter.h"
#include "platform/ModalMessageBox.h"
#include "platform/MySqlConnection.h"
#include "platform/MySqlQuery.h"
#include "records/KroTrack.h"
#include "support/DocumentTable.h"
#include "support/LiteralPocketAssignment.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kDatabase = "orvax_bench";
constexpr const char* kTypeCode = "01";
constexpr int kLastPocket = 22;
constexpr int kLoadDays = 10;
constexpr size_t kInsertBatch = 2000;

constexpr const char* kOrvaxLayout =
    "[TABLE]\r\n"
    "Progr INT NOT NULL AUTO_INCREMENT,\r\n"
    "DataCaricoIn VARCHAR(10), DataCaricoFin VARCHAR(10),\r\n"
    "PraticaIn INT, PraticaFin INT, Num_Pratiche INT, Num_Documenti INT,\r\n"
    "NumPraticaIn VARCHAR(20), NumPraticaFin VARCHAR(20),\r\n"
    "PRIMARY KEY (Progr)\r\n";

constexpr const char* kSorterLayout =
    "[TRACK]\r\nTRK_NAME=SORTER\r\nTYPES=1\r\nID_POS=1\r\nREC_LEN=30\r\nVAR_LEN=0\r\n"
    "[REC_01]\r\nREC_NAME=SORTER\r\nREC_ID=S\r\nFIELDS=5\r\n"
    "1) 0002 0010 Key ALIAS=SRT_KEY TYPE=ftString\r\n"
    "2) 0012 0002 Pocket ALIAS=SRT_T1 TYPE=ftString\r\n"
    "3) 0014 0002 Pocket2 ALIAS=SRT_T2 TYPE=ftString\r\n"
    "4) 0016 0002 Pocket3 ALIAS=SRT_T3 TYPE=ftString\r\n"
    "5) 0018 0002 Pocket4 ALIAS=SRT_T4 TYPE=ftString\r\n";

struct Options {
    std::string serverFile;
    std::vector<int> sizes = {10000, 100000};
    int baseline = 10000;
    std::string work;
};

struct Server {
    std::string host;
    int port = 0;
    std::string user;
    std::string password;
};

// Every box is a failure of the run: printed, and the run stops.
class FailingBox : public ModalMessageBox {
public:
    int show(const std::u16string& text, const std::u16string& caption, int) override {
        throw std::runtime_error("[" + text::toNarrow(caption) + "] " + text::toNarrow(text));
    }
};

// Stops the run on an error; notes when each status text came, which splits
// the writing into its parts.
class Listener : public FlowListener {
public:
    void error(const std::string& text) override { throw std::runtime_error(text); }
    void monitorLine(const std::string& line) override {
        if (line.starts_with("(W)") || line.starts_with("(E)")) {
            std::printf("    monitor: %s\n", text::toUtf8(text::toWide(line)).c_str());
        }
    }
    void statusText(const std::string& text) override { marks[text] = Clock::now(); }
    void progress(int position, int maximum) override {
        if (position == maximum) {
            marks["done"] = Clock::now();
        }
    }

    std::map<std::string, Clock::time_point> marks;
};

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

std::vector<int> parseSizes(const std::string& text) {
    std::vector<int> sizes;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        if (!item.empty()) {
            sizes.push_back(std::stoi(item));
        }
    }
    return sizes;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    if (const char* file = std::getenv("ORVAX_TEST_SERVER")) {
        options.serverFile = file;
    }
    if (const char* sizes = std::getenv("ORVAX_BENCH_SIZES")) {
        options.sizes = parseSizes(sizes);
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--server") {
            options.serverFile = value;
        } else if (name == "--sizes") {
            options.sizes = parseSizes(value);
        } else if (name == "--baseline") {
            options.baseline = std::stoi(value);
        } else if (name == "--work") {
            options.work = value;
        } else {
            throw std::runtime_error("unknown option " + name);
        }
    }
    if (options.serverFile.empty()) {
        throw std::runtime_error("no server: give --server FILE or set ORVAX_TEST_SERVER");
    }
    if (options.work.empty()) {
        options.work =
            (fs::temp_directory_path() / ("orvax-bench-" + std::to_string(getpid()))).string();
    }
    return options;
}

Server readServer(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read the server file " + path);
    }
    std::map<std::string, std::string> values;
    for (std::string line; std::getline(in, line);) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            values[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return Server{values["host"], std::stoi(values["port"]), values["user"], values["password"]};
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The bench's own connection: the database made afresh, tables filled.
class Vault {
public:
    Vault(const Server& server, const std::string& work) : work_(work) {
        connection_.setServer(server.host);
        connection_.setPort(server.port);
        connection_.setUsername(server.user);
        connection_.setPassword(server.password);
        open();
        run(std::string("DROP DATABASE IF EXISTS ") + kDatabase);
        run(std::string("CREATE DATABASE ") + kDatabase);
        connection_.setDatabase(kDatabase);
        cnsPath_ = work + "/VAULT.CNS";
        writeFile(cnsPath_, "Provider=MySQL\r\nData Source=" + server.host +
                                "\r\nInitial Catalog=" + kDatabase + "\r\nUser ID=" + server.user +
                                "\r\nPassword=" + server.password +
                                "\r\nPort=" + std::to_string(server.port) + "\r\n");
    }

    void run(const std::string& sql) {
        if (!connection_.run(sql)) {
            throw std::runtime_error(connection_.lastError() + "\n" + sql.substr(0, 200));
        }
    }

    std::string scalar(const std::string& sql) {
        MySqlQuery query(&connection_);
        query.setSql(sql);
        if (!query.open()) {
            throw std::runtime_error(query.lastError());
        }
        return query.fieldCount() > 0 ? query.field(0).asString() : std::string();
    }

    // A document table of documents made by the realistic generator.
    void fill(const std::string& table, int documents) {
        run("DROP TABLE IF EXISTS " + table);
        run(documentTableStatement(table));
        RealisticOptions options;
        options.documents = documents;
        options.loadDays = kLoadDays;
        RealisticDocuments generator(options);
        forEachInsert(
            table, [&](Document& document) { return generator.next(document); }, kInsertBatch,
            [&](const std::string& sql) { run(sql); });
        run("ANALYZE TABLE " + table);
    }

    // Waits (at most two minutes) until the server has written out what the
    // filling left in memory and purged its old row versions, so that the
    // job is not measured against the server's own catching up.
    void settle() {
        run("SET GLOBAL innodb_max_dirty_pages_pct_lwm=0");
        run("SET GLOBAL innodb_max_dirty_pages_pct=0");
        const Clock::time_point start = Clock::now();
        while (seconds(start) < 120) {
            const long dirty = std::stol(
                scalar("SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS WHERE "
                       "VARIABLE_NAME='INNODB_BUFFER_POOL_PAGES_DIRTY'"));
            const long history = std::stol(
                scalar("SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS WHERE "
                       "VARIABLE_NAME='INNODB_HISTORY_LIST_LENGTH'"));
            if (dirty < 100 && history < 1000) {
                break;
            }
            usleep(200000);
        }
        run("SET GLOBAL innodb_max_dirty_pages_pct=90");
    }

    const std::string& cnsPath() const { return cnsPath_; }

private:
    void open() {
        if (!connection_.open()) {
            throw std::runtime_error("cannot reach the server: " + connection_.lastError());
        }
    }

    std::string work_;
    std::string cnsPath_;
    MySqlConnection connection_;
};

// The gateway of the program's shape, connected to the bench database.
class Gateway {
public:
    explicit Gateway(const std::string& cnsPath) : db_(box_, 5, 0) {
        if (!db_.loadConnectionString(cnsPath)) {
            throw std::runtime_error("cannot load " + cnsPath);
        }
        db_.connect(true);
    }
    KroDBUtils& db() { return db_; }

private:
    FailingBox box_;
    KroMy_DBUtils db_;
};

struct Phase {
    std::string name;
    double seconds = 0;
    int documents = 0;
};

void printPhase(int size, const Phase& phase) {
    std::printf("%10d  %-34s %9.2f s %12.0f docs/s\n", size, phase.name.c_str(), phase.seconds,
                phase.seconds > 0 ? phase.documents / phase.seconds : 0.0);
}

DocumentRange wholeRange(const std::string& table) {
    return DocumentRange(table, kTypeCode, loadDate(0), loadDate(kLoadDays - 1));
}

// The job of the pocket step and the writing step over the whole range.
double runJob(Vault& vault, const Options& options, int size) {
    const std::string table = "DOC_" + std::to_string(size);
    std::printf("%10d  generating the document table...\n", size);
    std::fflush(stdout);
    const Clock::time_point generation = Clock::now();
    vault.fill(table, size);
    vault.run("TRUNCATE TABLE Orvax");
    vault.settle();
    std::printf("%10d  (generated in %.1f s, server settled)\n", size, seconds(generation));

    Gateway gateway(vault.cnsPath());
    Listener listener;
    PocketAssignment pockets(gateway.db(), listener);
    RecalledItemsWriter writer(gateway.db(), listener);
    const DocumentRange range = wholeRange(table);

    const Clock::time_point job = Clock::now();
    Clock::time_point start = job;
    DocumentCounts counts;
    pockets.fillSerials(table);
    if (!pockets.countDocuments(range, counts)) {
        throw std::runtime_error("no documents to count");
    }
    const Phase counting{"serials and counts", seconds(start), counts.totDoc};

    start = Clock::now();
    const int assigned = pockets.assignPockets(range, counts.startDoc, kLastPocket);
    const Phase assignment{"pocket assignment", seconds(start), assigned};

    start = Clock::now();
    KroTrack track;
    const std::string layout = options.work + "/SORTER.trk";
    writeFile(layout, kSorterLayout);
    if (!track.load(layout)) {
        throw std::runtime_error("cannot load " + layout);
    }
    const std::string flow = options.work + "/OrvaxBlocco_001.NST";
    track.setMode(KroFile::kCreate);
    track.setFileName(flow);
    track.openOrThrow(true);
    const auto written = writer.write(track, range, counts, 1);
    if (!written.ok()) {
        throw std::runtime_error("the recalled-items flow failed");
    }
    const Phase writing{"recalled-items writing", seconds(start), written.records};
    const Phase whole{"whole job", seconds(job), counts.totDoc};
    auto& marks = listener.marks;
    const auto between = [&](Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration<double>(to - from).count();
    };
    const Phase query{"  of which: sorted documents ready",
                      between(start, marks["Output della procedura"]), written.records};
    const Phase file{"  of which: read and written to file",
                     between(marks["Output della procedura"], marks["done"]), written.records};
    const Phase log{"  of which: block logged, batch set",
                    between(marks["done"], marks["Scarico terminato"]), written.records};

    for (const Phase& phase : {counting, assignment, writing, query, file, log, whole}) {
        printPhase(size, phase);
    }
    const auto flowSize = fs::file_size(flow);
    std::printf("%10d  %-34s %9.1f MB (process peak so far)\n", size, "peak resident memory",
                peakResidentMegabytes());
    std::printf(
        "%10d  checks: %d in range, %d assigned, %d records (%llu bytes), unassigned %s, "
        "log rows %s, batch 1 on %s\n",
        size, counts.totDoc, assigned, written.records, static_cast<unsigned long long>(flowSize),
        vault.scalar("SELECT COUNT(*) FROM " + table + " WHERE TC='01' AND T1=0").c_str(),
        vault.scalar("SELECT COUNT(*) FROM Orvax").c_str(),
        vault.scalar("SELECT COUNT(*) FROM " + table + " WHERE Lotto_Pres=1").c_str());
    fs::remove(flow);
    vault.run("DROP TABLE " + table);
    return assignment.seconds > 0 ? assignment.documents / assignment.seconds : 0;
}

// The document-by-document assignment on its own table; its rate.
double runBaseline(Vault& vault, int size) {
    const std::string literal = "BASE_LITERAL";
    const std::string setBased = "BASE_SET";
    std::printf("baseline: generating %d documents twice...\n", size);
    std::fflush(stdout);
    vault.fill(literal, size);
    vault.fill(setBased, size);
    Gateway gateway(vault.cnsPath());
    Listener listener;
    PocketAssignment pockets(gateway.db(), listener);
    DocumentCounts counts;
    if (!pockets.countDocuments(wholeRange(literal), counts)) {
        throw std::runtime_error("no documents in the baseline table");
    }

    Clock::time_point start = Clock::now();
    const int literalCount =
        literalAssignPockets(gateway.db(), literal, kTypeCode, loadDate(0), loadDate(kLoadDays - 1),
                             counts.startDoc, kLastPocket);
    const Phase literalPhase{"document by document (baseline)", seconds(start), literalCount};
    start = Clock::now();
    const int setCount = pockets.assignPockets(wholeRange(setBased), counts.startDoc, kLastPocket);
    const Phase setPhase{"set-based, same table", seconds(start), setCount};
    printPhase(size, literalPhase);
    printPhase(size, setPhase);
    const std::string differing = vault.scalar(
        "SELECT COUNT(*) FROM " + literal + " l JOIN " + setBased +
        " s USING (Num_Effetto) WHERE NOT (l.T1 <=> s.T1 AND l.T2 <=> s.T2 AND l.T3 <=> s.T3 "
        "AND l.T4 <=> s.T4 AND l.NOTA <=> s.NOTA)");
    std::printf("%10d  documents whose pockets differ between the two: %s\n", size,
                differing.c_str());
    if (differing != "0" || literalCount != setCount) {
        throw std::runtime_error("the two assignments differ");
    }
    vault.run("DROP TABLE " + literal);
    vault.run("DROP TABLE " + setBased);
    return literalPhase.seconds > 0 ? literalPhase.documents / literalPhase.seconds : 0;
}

void createExtractionLog(Vault& vault, const Options& options) {
    Gateway gateway(vault.cnsPath());
    const std::string layout = options.work + "/Orvax.TBL";
    writeFile(layout, kOrvaxLayout);
    if (!gateway.db().createTableFromLayout(KroTableCatalog::kExtractionLogTable, layout)) {
        throw std::runtime_error("cannot create the extraction log");
    }
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parseOptions(argc, argv);
        fs::create_directories(options.work);
        const Server server = readServer(options.serverFile);
        Vault vault(server, options.work);
        createExtractionLog(vault, options);
        std::printf(
            "ExportOrvax benchmark: server %s:%d (%s), %ld processors, range of %d load "
            "dates, last pocket %d\n",
            server.host.c_str(), server.port, vault.scalar("SELECT VERSION()").c_str(),
            sysconf(_SC_NPROCESSORS_ONLN), kLoadDays, kLastPocket);

        const double baselineRate = runBaseline(vault, options.baseline);
        std::map<int, double> rates;
        for (int size : options.sizes) {
            rates[size] = runJob(vault, options, size);
        }
        for (const auto& [size, rate] : rates) {
            std::printf(
                "assignment at %d documents: %.0f docs/s, %.0f times the baseline's %.0f "
                "docs/s\n",
                size, rate, baselineRate > 0 ? rate / baselineRate : 0.0, baselineRate);
        }
        std::printf("peak resident memory of the process: %.1f MB\n", peakResidentMegabytes());
        vault.run(std::string("DROP DATABASE ") + kDatabase);
        fs::remove_all(options.work);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvax_bench: %s\n", error.what());
        return 1;
    }
}
