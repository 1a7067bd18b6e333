// KroTableCatalog names the database tables ExportOrvax reads and writes and
// holds every statement it runs on them, as formats to fill:
//
//   const std::string docTable = KroTableCatalog::documentTable(job, jobDate);
//   dbUtils.run(KroTableCatalog::fill(KroTableCatalog::kLoadDates, docTable),
//               KroQueryBase::kOpen, true, 3, true);
//
// Names put into a statement come from the suite's files: check them with
// KroDBUtils::checkIdentifier first; texts between quotes go through
// KroDBUtils::escapeLiteral. Dates are "AAAA-MM-GG" in statements and
// "AAMMGG" in table names.
//
// The tables and the columns the statements use:
// - the job's document table ("%s_DOC" for a job whose name holds "CC",
//   else "%s_%s_GUI_DOC" with the job date): Data_Carico, Serial,
//   Num_Effetto, TC, T1 to T4, NOTA, Condizione, Doc_Prg, Prg, Num_Pratica,
//   Stat, Lotto_Pres, Importo, Prg1, Prg2, SCADENZA, Fil_Cod, Deb_RagSoc;
// - the list table ("%s_DIST" or "%s_%s_GUI_DIST"): Lotto_Pres, the master
//   of the document table's detail query;
// - the vault document table "CAVEAU_%s_DOC" (the job type): Serial,
//   Lotto_Pres, Data_Pres, Prg1, Prg2;
// - the recalled items "CAVEAU_RR_VER": SERIAL, SCADENZA, TC;
// - the extraction log "Orvax", made from the layout file Orvax.TBL when
//   missing: Progr (key), DataCaricoIn, DataCaricoFin, PraticaIn,
//   PraticaFin, Num_Pratiche, Num_Documenti, NumPraticaIn, NumPraticaFin;
// - the operators "auth_users" of the schema "QuorvelNet": UserID first.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

class KroTableCatalog {
public:
    static constexpr const char* kExtractionLogTable = "Orvax";
    static constexpr const char* kRecalledTable = "CAVEAU_RR_VER";
    static constexpr const char* kUsersSchema = "QuorvelNet";
    static constexpr const char* kUsersTable = "auth_users";

    // The job's document table: "%s_DOC" when the job name holds "CC",
    // otherwise the guide's "%s_%s_GUI_DOC" with the job date "AAMMGG".
    static std::string documentTable(const std::string& job, const std::string& jobDate);
    // The job's list table, named the same way ("%s_DIST", "%s_%s_GUI_DIST").
    static std::string listTable(const std::string& job, const std::string& jobDate);
    static std::string guideDocumentTable(const std::string& job, const std::string& jobDate);
    static std::string guideListTable(const std::string& job, const std::string& jobDate);
    // "CAVEAU_%s_DOC" with the job type.
    static std::string vaultDocumentTable(const std::string& jobType);

    // Connecting: the load dates (document table), the extraction log, the
    // first load date (document table).
    static constexpr const char* kLoadDates =
        "SELECT Data_Carico, count(*) as DocCount FROM %s GROUP BY Data_Carico ORDER By "
        "Data_Carico";
    static constexpr const char* kExtractionLog = "SELECT * FROM Orvax Order By Progr";
    static constexpr const char* kFirstLoadDate = "SELECT MIN(Data_Carico) As DataMin FROM %s";

    // The block already logged for a first load date "AAAA-MM-GG".
    static constexpr const char* kBlockOfLoadDate =
        "SELECT PROGR FROM ORVAX WHERE DataCaricoIn='%s'";

    // Pocket assignment: document table, type code, dates from and to
    // (kPocketRows first takes the first dossier's Prg).
    static constexpr const char* kFillSerials =
        "UPDATE %s SET Serial=LPAD(Num_Effetto, 10, '0') WHERE Serial is NULL";
    static constexpr const char* kClearPockets =
        "Update %s SET  T1=0, T2=0, T3=0, T4=0, NOTA=0 WHERE TC='%s' AND Data_Carico between "
        "'%s' AND '%s'";
    static constexpr const char* kPocketRows =
        "SELECT Condizione, Doc_Prg, Prg - %d +1 as Prg, Serial, Num_Effetto, T1, T2, T3, T4 "
        "FROM %s WHERE TC='%s' AND Data_Carico between '%s' AND '%s' ORDER BY Data_Carico, "
        "Condizione, Prg, Doc_Prg";
    static constexpr const char* kDossierCounts =
        "SELECT Num_Pratica, Count(*) as TotDoc FROM %s WHERE TC='%s' AND Data_Carico between "
        "'%s' AND '%s' GROUP BY Num_Pratica";
    static constexpr const char* kDossierRange =
        "SELECT MIN(Prg) as StartDoc, MAX(Prg) as EndDoc, count(*) as TotDoc FROM %s WHERE "
        "TC='%s' AND Data_Carico between '%s' AND '%s' ORDER BY Doc_Prg";
    // The pockets of a range in one statement, the same as walking kPocketRows
    // and moving to the next pocket whenever Prg changes: each (Data_Carico,
    // Condizione, Prg) of the range in that order is a dossier group, the
    // groups are numbered by the changes of Prg - startDoc + 1 (NULL as 0,
    // the first group compared with -1), and group g gets pocket 2 + (g - 1)
    // mod cycle (1 before the first change). Arguments: document table,
    // cycle (the last pocket - 1, at least 1), startDoc, document table, type
    // code, dates from and to, type code, dates from and to.
    static constexpr const char* kAssignPockets =
        "UPDATE %s doc INNER JOIN (SELECT Data_Carico, Condizione, Prg, CASE WHEN SUM(Moved) "
        "OVER w = 0 THEN 1 ELSE 2 + MOD(SUM(Moved) OVER w - 1, %d) END AS Pocket FROM (SELECT "
        "Data_Carico, Condizione, Prg, Rel <> COALESCE(LAG(Rel) OVER (ORDER BY Data_Carico, "
        "Condizione, Prg), -1) AS Moved FROM (SELECT DISTINCT Data_Carico, Condizione, Prg, "
        "COALESCE(Prg - %d + 1, 0) AS Rel FROM %s WHERE TC='%s' AND Data_Carico between '%s' AND "
        "'%s') dossier) moved WINDOW w AS (ORDER BY Data_Carico, Condizione, Prg ROWS UNBOUNDED "
        "PRECEDING)) pocket ON doc.Data_Carico <=> pocket.Data_Carico AND doc.Condizione <=> "
        "pocket.Condizione AND doc.Prg <=> pocket.Prg SET doc.T1=pocket.Pocket, "
        "doc.T2=pocket.Pocket, doc.T3=pocket.Pocket, doc.T4=pocket.Pocket WHERE doc.TC='%s' AND "
        "doc.Data_Carico between '%s' AND '%s'";

    // A transaction spanning several statements of a flow (each run without
    // a transaction of its own), ended by kCommit or a rollback.
    static constexpr const char* kStartTransaction = "START TRANSACTION";
    static constexpr const char* kCommit = "COMMIT";

    // Selection flow: job name and job date "AAMMGG" (the guide tables), then
    // the recalled items, all or of a due-date range and type code.
    static constexpr const char* kGuideDueDates =
        "SELECT MIN(SCADENZA) as ScadMin, MAX(SCADENZA) as ScadMax FROM %s_%s_GUI_DOC";
    static constexpr const char* kGuidePockets =
        "SELECT * FROM %s_%s_GUI_DOC WHERE T1<>0 ORDER BY Data_Carico, Num_Effetto";
    static constexpr const char* kGuideDueDatesShort =
        "SELECT MIN(SCADENZA) miscad, MAX(SCADENZA) as mascad FROM %s_%s_GUI_DOC";
    static constexpr const char* kRecalledItems =
        "SELECT * FROM CAVEAU_RR_VER WHERE SERIAL IS NOT NULL";
    static constexpr const char* kRecalledItemsInRange =
        "SELECT * FROM CAVEAU_RR_VER WHERE SERIAL IS NOT NULL AND SCADENZA BETWEEN '%s' AND '%s' "
        "AND TC='%s'";

    // Recalled-items flow: documents not linked (job name; job name and
    // date), the block's log row, the batch mark and the documents.
    static constexpr const char* kUnlinkedDocuments =
        "SELECT Count(*) as NAG FROM %s_DOC WHERE Stat<>'J'";
    static constexpr const char* kGuideWithoutSerial =
        "SELECT Count(*) as NAG FROM %s_%s_GUI_DOC WHERE Serial is null";
    static constexpr const char* kInsertBlock =
        "INSERT INTO Orvax (DataCaricoIn, DataCaricoFin, PraticaIn, PraticaFin, Num_Pratiche, "
        "Num_Documenti) \tVALUES('%s', '%s', %d, %d, %d, %d)";
    static constexpr const char* kUpdateBlock =
        "UPDATE Orvax \tSET DataCaricoIn='%s', DataCaricoFin='%s', PraticaIn=%d, PraticaFin=%d, "
        "Num_Pratiche=%d, Num_Documenti=%d WHERE Progr=%d";
    static constexpr const char* kFillFirstDossier =
        "UPDATE Orvax orvax INNER JOIN %s doc ON Orvax.PraticaIn=doc.Prg SET "
        "Orvax.NumPraticaIn=doc.Num_Pratica WHERE Orvax.NumPraticaIn Is Null";
    static constexpr const char* kFillLastDossier =
        "UPDATE Orvax orvax INNER JOIN %s doc ON Orvax.PraticaFin=doc.Prg SET "
        "Orvax.NumPraticaFin=doc.Num_Pratica WHERE Orvax.NumPraticaFin Is Null";
    static constexpr const char* kMarkBatch =
        "UPDATE %s SET Lotto_Pres = %d WHERE TC='%s' AND Data_Carico between '%s' AND '%s'";
    static constexpr const char* kRecalledFlowDocuments =
        "SELECT * FROM %s WHERE TC='%s' AND Data_Carico between '%s' AND '%s' ORDER BY "
        "Condizione, Data_carico, Prg, Doc_Prg";

    // Remittances: job name, job date "AAMMGG" (and the batch); the detail
    // query's :Lotto_Pres is bound from the list's current row; the vault
    // update takes the job type, job name, job date and presentation date.
    static constexpr const char* kRemittanceTotals =
        "SELECT SUM(Importo) as TotImpo, Count(*) as Pzz FROM %s_%s_GUI_DOC WHERE Lotto_Pres=%d "
        "AND Prg1 > 0";
    static constexpr const char* kRemittances = "SELECT * FROM %s_%s_GUI_DIST ORDER BY Lotto_Pres";
    static constexpr const char* kRemittanceDocuments =
        "SELECT * FROM %s_%s_GUI_DOC WHERE  Lotto_Pres=:Lotto_Pres AND Prg1 > 0 ORDER BY Prg2, "
        "Prg1";
    static constexpr const char* kVaultPresentation =
        "UPDATE CAVEAU_%s_DOC as cav INNER JOIN %s_%s_GUI_DOC as gui ON cav.Serial=gui.Serial  "
        "SET cav.Lotto_Pres=gui.Lotto_Pres, cav.Data_Pres='%s', cav.Prg1=gui.Prg1, "
        "cav.Prg2=gui.Prg2";

    // The gateway's own: table existence, drop, count, whole table.
    static constexpr const char* kShowTables = "SHOW TABLES LIKE '%s'";
    static constexpr const char* kDropTable = "DROP TABLE IF EXISTS %s";
    static constexpr const char* kCountRows = "Select Count(*) Counter from %s";
    static constexpr const char* kWholeTable = "SELECT * FROM %s";
    // The operators, of a schema or of the connection's database.
    static constexpr const char* kUsersOfSchema = "SELECT * FROM %s.%s ORDER BY UserID";
    static constexpr const char* kUsers = "SELECT * FROM %s ORDER BY UserID";

    // The format filled with the arguments as printf does (%s takes a
    // std::string or a C text, %d an int, %f a double).
    template <typename... Args>
    static std::string fill(const char* format, const Args&... args) {
        if constexpr (sizeof...(args) == 0) {
            return format;
        } else {
            const int length = std::snprintf(nullptr, 0, format, cText(args)...);
            if (length < 0) {
                return std::string();
            }
            std::string text(static_cast<size_t>(length) + 1, '\0');
            std::snprintf(text.data(), text.size(), format, cText(args)...);
            text.pop_back();
            return text;
        }
    }

private:
    static const char* cText(const std::string& text) { return text.c_str(); }
    static const char* cText(const char* text) { return text; }
    // %d takes an int and %f a double: other numbers would be misread.
    template <typename T>
    static T cText(const T& value) {
        static_assert(std::is_same_v<T, int> || std::is_same_v<T, double>,
                      "fill takes texts, int and double");
        return value;
    }
};
