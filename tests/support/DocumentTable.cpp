#include "support/DocumentTable.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) {
        if (c == '\'' || c == '\\') {
            result += '\\';
        }
        result += c;
    }
    return result + "'";
}

std::string orNull(const std::optional<std::string>& text) {
    return text ? quoted(*text) : "NULL";
}

std::string orNull(const std::optional<int>& number) {
    return number ? std::to_string(*number) : "NULL";
}

}  // namespace

std::string documentTableStatement(const std::string& table) {
    return "CREATE TABLE " + table +
           " (Data_Carico DATE, Serial VARCHAR(10), Num_Effetto INT NOT NULL, TC VARCHAR(2), "
           "T1 INT, T2 INT, T3 INT, T4 INT, NOTA INT, Condizione INT, Doc_Prg INT, Prg INT, "
           "Num_Pratica VARCHAR(20), Stat CHAR(1), Lotto_Pres INT, Importo DECIMAL(12,2), "
           "Prg1 INT, Prg2 INT, SCADENZA DATE, Fil_Cod VARCHAR(5), Deb_RagSoc VARCHAR(40), "
           "PRIMARY KEY (Num_Effetto), KEY IX_TC_Data (TC, Data_Carico)) ENGINE=InnoDB";
}

std::string documentValues(const Document& d) {
    std::string values = "(" + orNull(d.dataCarico) + "," + orNull(d.serial) + "," +
                         std::to_string(d.numEffetto) + "," + quoted(d.tc);
    for (int pocket : d.t) {
        values += "," + std::to_string(pocket);
    }
    values += "," + std::to_string(d.nota) + "," + orNull(d.condizione) + "," + orNull(d.docPrg) +
              "," + orNull(d.prg) + "," + quoted(d.numPratica) + "," + quoted(d.stat) + "," +
              orNull(d.lottoPres) + "," + d.importo + ",0,0," + quoted(d.scadenza) + "," +
              quoted(d.filCod) + "," + quoted(d.debRagSoc) + ")";
    return values;
}

void forEachInsert(const std::string& table, const std::vector<Document>& documents, size_t batch,
                   const std::function<void(const std::string&)>& run) {
    size_t at = 0;
    forEachInsert(
        table,
        [&](Document& document) {
            if (at == documents.size()) {
                return false;
            }
            document = documents[at++];
            return true;
        },
        batch, run);
}

void forEachInsert(const std::string& table, const std::function<bool(Document&)>& next,
                   size_t batch, const std::function<void(const std::string&)>& run) {
    std::string statement;
    size_t inStatement = 0;
    for (Document document; next(document);) {
        statement += inStatement == 0 ? "INSERT INTO " + table + " VALUES " : ",";
        statement += documentValues(document);
        if (++inStatement == batch) {
            run(statement);
            statement.clear();
            inStatement = 0;
        }
    }
    if (inStatement > 0) {
        run(statement);
    }
}

std::string loadDate(int day) {
    static const int kDaysIn2024[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 2;  // March, from 0
    int dayOfMonth = 1 + day;
    while (month < 12 && dayOfMonth > kDaysIn2024[month]) {
        dayOfMonth -= kDaysIn2024[month];
        ++month;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", month < 12 ? 2024 : 2025,
                  month < 12 ? month + 1 : 1, dayOfMonth);
    return text;
}

RealisticDocuments::RealisticDocuments(const RealisticOptions& options)
    : options_(options), random_(options.seed) {
    // About loadDays days' worth of dossiers of average size.
    const int averageDossier = options.maxDossier / 2 + 1;
    dossiersPerDay_ =
        std::max(1, options.documents / std::max(1, options.loadDays) / averageDossier);
}

int RealisticDocuments::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

void RealisticDocuments::startDossier() {
    ++prg_;
    docPrg_ = 0;
    dossierSize_ = uniform(1, options_.maxDossier);
    tc_ = uniform(1, 20) == 1 ? "02" : "01";
    condizione_ = uniform(0, 2);
    char pratica[16];
    std::snprintf(pratica, sizeof pratica, "PR%08d", 70000 + prg_);
    pratica_ = pratica;
}

bool RealisticDocuments::next(Document& d) {
    static const char* const kNames[] = {"Rossi Mario",   "Bianchi S.r.l.", "Verdi & C. S.n.c.",
                                         "Esposito Anna", "Società Alfa",   "Colombo Luigi"};
    if (made_ >= options_.documents) {
        return false;
    }
    if (docPrg_ == dossierSize_) {
        startDossier();
    }
    ++docPrg_;
    d = Document();
    d.numEffetto = options_.firstItem + made_++;
    d.dataCarico = loadDate(std::min((prg_ - 1) / dossiersPerDay_, options_.loadDays - 1));
    if (uniform(1, 50) != 1) {
        char serial[16];
        std::snprintf(serial, sizeof serial, "%010d", d.numEffetto);
        d.serial = serial;
    }
    d.tc = tc_;
    d.condizione = condizione_;
    d.docPrg = docPrg_;
    d.prg = prg_;
    d.numPratica = pratica_;
    d.stat = uniform(1, 10) == 1 ? "J" : "A";
    d.lottoPres = 0;  // not presented yet
    d.importo = std::to_string(uniform(100, 999999)) + "." + std::to_string(uniform(10, 99));
    d.scadenza = loadDate(uniform(30, 120));
    char branch[8];
    std::snprintf(branch, sizeof branch, "%05d", uniform(1, 400));
    d.filCod = branch;
    d.debRagSoc = kNames[uniform(0, 5)];
    return true;
}
