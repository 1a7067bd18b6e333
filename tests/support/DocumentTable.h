// A job's document table for the flows' tests and the benchmark: the columns
// the table catalogue names (Num_Effetto the key, an index on the type code
// and the load date), documents as plain values, and the statements that
// create and fill it. Nothing here runs SQL; the caller does:
//
//   db.exec(documentTableStatement("DOC"));
//   std::vector<Document> docs = {...};
//   forEachInsert("DOC", docs, 1000, [&](const std::string& sql) { db.exec(sql); });
//
// RealisticDocuments makes the documents of a vault job one at a time (a
// million of them never sit in memory): dossiers (Prg 1, 2, ...) of 1 to 20
// documents loaded over a few days, the type code mostly "01", a few
// documents without a serial, none presented yet (Lotto_Pres 0); the same
// seed gives the same documents.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

struct Document {
    int numEffetto = 0;  // the key
    std::optional<std::string> dataCarico = std::string("2024-03-01");
    std::optional<std::string> serial;
    std::string tc = "01";
    int t[4] = {0, 0, 0, 0};
    int nota = 0;
    std::optional<int> condizione = 0;
    std::optional<int> docPrg = 1;
    std::optional<int> prg = 1;
    std::string numPratica = "P1";
    std::string stat = "A";
    std::optional<int> lottoPres;
    std::string importo = "100.00";
    std::string scadenza = "2024-06-30";
    std::string filCod = "00101";
    std::string debRagSoc = "Debitore";
};

// CREATE TABLE of a document table named table.
std::string documentTableStatement(const std::string& table);
// The document as a parenthesised list of values, in the table's column order.
std::string documentValues(const Document& document);
// Calls run with INSERT statements of at most batch documents each.
void forEachInsert(const std::string& table, const std::vector<Document>& documents, size_t batch,
                   const std::function<void(const std::string&)>& run);
// The same with the documents next() gives until it answers false.
void forEachInsert(const std::string& table, const std::function<bool(Document&)>& next,
                   size_t batch, const std::function<void(const std::string&)>& run);

struct RealisticOptions {
    int documents = 1000;
    uint32_t seed = 1;
    int loadDays = 10;  // load dates from 2024-03-01 on
    int maxDossier = 20;
    int firstItem = 100001;
};

// The documents, dossier after dossier, exactly options.documents of them
// (the last dossier may be cut short). Dossier n has Prg n.
class RealisticDocuments {
public:
    explicit RealisticDocuments(const RealisticOptions& options);

    // The next document; false after the last.
    bool next(Document& document);

private:
    int uniform(int low, int high);
    void startDossier();

    RealisticOptions options_;
    std::mt19937 random_;
    int made_ = 0;
    int dossiersPerDay_ = 1;
    int prg_ = 0;
    int dossierSize_ = 0;
    int docPrg_ = 0;
    std::string tc_;
    int condizione_ = 0;
    std::string pratica_;
};
// The load date day days after 2024-03-01, "AAAA-MM-GG" (day 0 to 365).
std::string loadDate(int day);
