#include "flows/SelectionFlowWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "FlowFixture.h"
#include "records/KroTrack.h"
#include "support/SorterTrack.h"

namespace {

constexpr const char* kGuide = "JOB_240531_GUI_DOC";

// A document of the selection guide.
struct GuideRow {
    int item;
    std::string loaded;
    std::string serial;
    int t1;
    int frz;
    std::optional<std::string> due;
};

// A recalled item of the vault.
struct RecalledRow {
    std::optional<std::string> serial;
    std::string due;
    std::string tc;
};

struct AskingListener : RecordingListener {
    void warning(const std::string& text) override { warnings.push_back(text); }
    bool question(const std::string& text, const std::string& caption) override {
        questions.push_back(caption + ": " + text);
        return yes;
    }

    bool yes = false;
    std::vector<std::string> warnings;
    std::vector<std::string> questions;
};

std::string sqlText(const std::optional<std::string>& text) {
    return text ? "'" + *text + "'" : "NULL";
}

class SelectionFlowWriterTest : public GatewayTest {
protected:
    void SetUp() override {
        createTables();
        connect();
        job.name = "JOB";
        job.date = "240531";
        job.type = "CA";
    }

    // The guide and the recalled items as new, empty tables.
    void createTables() {
        db.exec(std::string("DROP TABLE IF EXISTS CAVEAU_RR_VER, ") + kGuide);
        db.exec(std::string("CREATE TABLE ") + kGuide +
                " (Data_Carico DATE, Num_Effetto INT, Serial VARCHAR(12), T1 INT, FRZ_Z1 INT, "
                "SCADENZA DATE)");
        db.exec("CREATE TABLE CAVEAU_RR_VER (SERIAL VARCHAR(12), SCADENZA DATE, TC VARCHAR(2))");
    }

    void insertGuide(const std::vector<GuideRow>& rows) {
        for (const GuideRow& r : rows) {
            db.exec(std::string("INSERT INTO ") + kGuide + " VALUES ('" + r.loaded + "', " +
                    std::to_string(r.item) + ", '" + r.serial + "', " + std::to_string(r.t1) +
                    ", " + std::to_string(r.frz) + ", " + sqlText(r.due) + ")");
        }
    }

    void insertRecalled(const std::vector<RecalledRow>& rows) {
        for (const RecalledRow& r : rows) {
            db.exec("INSERT INTO CAVEAU_RR_VER VALUES (" + sqlText(r.serial) + ", '" + r.due +
                    "', '" + r.tc + "')");
        }
    }

    SelectionFlowWriter::Result write(const SorterTrackFields& layout = SorterTrackFields()) {
        KroTrack track;
        EXPECT_TRUE(track.load(writeSorterTrack(dir.path(), layout)));
        track.setMode(KroFile::kCreate);
        track.setFileName(flowPath);
        EXPECT_NO_THROW(track.openOrThrow(true));
        return SelectionFlowWriter(gateway, listener, job).write(track);
    }

    bool monitorHas(const std::string& line) const {
        for (const std::string& shown : listener.monitor) {
            if (shown == line) {
                return true;
            }
        }
        return false;
    }

    // Two guide documents due within June 2024.
    void insertJuneGuide() {
        insertGuide({{2, "2024-05-31", "G2", 3, 0, "2024-06-30"},
                     {1, "2024-05-31", "G1", 2, 0, "2024-06-01"}});
    }

    AskingListener listener;
    SelectionFlowWriter::Job job;
    std::string flowPath = dir.file("JOB_GGG.NST");
};

TEST_F(SelectionFlowWriterTest, TheStampFollowsTheDocumentTheDefaultAndTheLayout) {
    struct Case {
        int frz;
        int defaultStamp;
        bool layoutHasStamp;
        std::string stamp;
    };
    const Case cases[] = {
        {7, 2, true, "7"},   // the document's own stamp
        {0, 2, true, "2"},   // none of its own: the default
        {-1, 3, true, "3"},  // below 0 counts as none
        {7, 0, true, ""},    // default 0: no stamp at all
        {7, 2, false, ""},   // no room for it: no stamp, no message
    };
    insertGuide({{1, "2024-05-31", " 0123456789 ", 5, 0, "2024-06-01"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "FRZ_Z1 " << c.frz << ", default " << c.defaultStamp
                                        << ", stamp field " << c.layoutHasStamp);
        db.exec(std::string("UPDATE ") + kGuide + " SET FRZ_Z1=" + std::to_string(c.frz));
        job.defaultStamp = c.defaultStamp;
        SorterTrackFields layout;
        if (!c.layoutHasStamp) {
            layout.fields.pop_back();
        }
        EXPECT_TRUE(write(layout).ok());
        EXPECT_EQ(readBytes(flowPath),
                  sorterFlowRecord("0123456789", "05", "00", "00", "00", c.stamp));
    }
    EXPECT_EQ(listener.errors, Texts{});
    EXPECT_EQ(shownTexts(), Texts{});
}

TEST_F(SelectionFlowWriterTest, GuideDocumentsWithAPocketThenTheRecalledItemsOfTheirRange) {
    insertGuide({{3, "2024-05-30", "G3", 120, 0, "2024-06-15"},  // loaded first
                 {9, "2024-05-31", "G9", 0, 0, "2024-05-01"},    // no pocket
                 {2, "2024-05-31", "G2", 3, 4, "2024-06-30"},
                 {1, "2024-05-31", "G1", 2, 0, "2024-06-01"}});
    insertRecalled({{" R1 ", "2024-06-01", "CA"},
                    {"R2", "2024-06-30", "CA"},
                    {"R3", "2024-04-30", "CA"},  // before the range
                    {"R4", "2024-07-01", "CA"},  // after it
                    {"R5", "2024-06-10", "CC"},  // another type
                    {std::nullopt, "2024-06-10", "CA"}});
    job.returnsPocket = 24;
    const SelectionFlowWriter::Result result = write();
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.guideRecords, 3);
    EXPECT_EQ(result.recalledRecords, 2);
    // A pocket of three digits keeps what the field has room for.
    EXPECT_EQ(readBytes(flowPath), sorterFlowRecord("G3", "12", "00", "00", "00", "2") +
                                       sorterFlowRecord("G1", "02", "00", "00", "00", "2") +
                                       sorterFlowRecord("G2", "03", "00", "00", "00", "4") +
                                       sorterFlowRecord("R1", "24", "00", "00", "00") +
                                       sorterFlowRecord("R2", "24", "00", "00", "00"));
    EXPECT_EQ(listener.monitor,
              (Texts{"Intervallo date dei richiamati:", "Inizio: 01/05/2024  - Fine: 30/06/2024",
                     "Intervallo date per i richiamati: 01-05-2024 e 30-06-2024",
                     "Vengono aggiunti 2 rich. CA in coda (tasca assegnata 24)"}));
    EXPECT_EQ(listener.questions, Texts{});
    EXPECT_EQ(shownTexts(), Texts{});
}

TEST_F(SelectionFlowWriterTest, WithoutTheGuidesDueDatesTheOperatorDecides) {
    const std::string question =
        "Attenzione: Le date estreme non sono state estratte\r\nContinuo mettendo tutti i "
        "richiamati?";
    const std::string guideRecord = sorterFlowRecord("G1", "02", "00", "00", "00", "2");
    const std::string allRecalled = sorterFlowRecord("R1", "24", "00", "00", "00") +
                                    sorterFlowRecord("R5", "24", "00", "00", "00");
    struct Case {
        bool yes;
        bool emptyGuide;  // else one document without a due date
        bool withRecalled;
        bool written;
        std::string file;
    };
    const Case cases[] = {
        // Yes: every recalled item with a serial, whatever its date or type.
        {true, true, true, true, allRecalled},
        {true, false, true, true, guideRecord + allRecalled},
        // Nothing to write: the empty file is removed.
        {true, true, false, true, ""},
        // No: the run fails and takes back what it wrote.
        {false, false, true, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "yes " << c.yes << ", empty guide " << c.emptyGuide
                                        << ", recalled " << c.withRecalled);
        createTables();
        if (!c.emptyGuide) {
            insertGuide({{1, "2024-05-31", "G1", 2, 0, std::nullopt}});
        }
        if (c.withRecalled) {
            insertRecalled({{"R1", "2020-01-01", "CA"},
                            {std::nullopt, "2024-06-10", "CA"},
                            {"R5", "2024-06-10", "CC"}});
        }
        listener = AskingListener();
        listener.yes = c.yes;
        EXPECT_EQ(write().ok(), c.written);
        EXPECT_EQ(listener.questions, Texts{question});
        EXPECT_EQ(fileExists(flowPath), !c.file.empty());
        EXPECT_EQ(readBytes(flowPath), c.file);
        EXPECT_EQ(monitorHas("Inizio: n.d.  - Fine: n.d."), c.yes);
        EXPECT_EQ(monitorHas(SelectionFlowWriter::kAborted), !c.written);
    }
}

TEST_F(SelectionFlowWriterTest, WithoutTheRecalledTableTheGuideIsWrittenAlone) {
    insertJuneGuide();
    db.exec("DROP TABLE CAVEAU_RR_VER");
    EXPECT_TRUE(write().ok());
    EXPECT_EQ(readBytes(flowPath), sorterFlowRecord("G1", "02", "00", "00", "00", "2") +
                                       sorterFlowRecord("G2", "03", "00", "00", "00", "2"));
    ASSERT_EQ(box.shown.size(), 1u);  // the gateway's own error
    std::string shown = lastShown();
    std::transform(shown.begin(), shown.end(), shown.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_NE(shown.find("caveau_rr_ver"), std::string::npos) << shown;
    EXPECT_FALSE(monitorHas(SelectionFlowWriter::kAborted));
    EXPECT_FALSE(gateway.inTransaction());
}

TEST_F(SelectionFlowWriterTest, AFailedRunLeavesNoFile) {
    struct Case {
        const char* what;
        std::string jobName;
        const char* change;  // run on the database first
        bool layoutHasT4;
    };
    const Case cases[] = {
        {"no guide table", "NOJOB", nullptr, true},
        {"a job name that is no table name", "JOB;X", nullptr, true},
        {"the due dates cannot be read", "JOB",
         "ALTER TABLE JOB_240531_GUI_DOC RENAME COLUMN SCADENZA TO Due", true},
        {"a layout without SRT_T4", "JOB", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        createTables();
        insertJuneGuide();
        if (c.change != nullptr) {
            db.exec(c.change);
        }
        job.name = c.jobName;
        listener = AskingListener();
        box.shown.clear();
        SorterTrackFields layout;
        if (!c.layoutHasT4) {
            layout.fields.erase(layout.fields.begin() + 4);
        }
        EXPECT_FALSE(write(layout).ok());
        // A failed statement's transaction would keep the guide locked.
        EXPECT_FALSE(gateway.inTransaction());
        EXPECT_FALSE(fileExists(flowPath));
        EXPECT_TRUE(monitorHas(SelectionFlowWriter::kAborted));
        // Told once: the gateway's box, or the layout's text.
        EXPECT_EQ(box.shown.size() + listener.errors.size(), 1u);
        EXPECT_EQ(listener.questions, Texts{});
    }
}

TEST_F(SelectionFlowWriterTest, TheVerificationShowsTheGuidesDueDatesAndAlwaysPasses) {
    const std::string pocketLine =
        "Gli eventuali effetti richiamati (associati nel contr. caveau) saranno inseriti in "
        "tasca 30";
    const std::string missingTable =
        "La tabella dei Richiamati (Caveau_RR_VER) non \xE8 nel database\r\nLa selezione mette i "
        "richiamati nella casella 23";
    struct Case {
        const char* what;
        std::vector<std::string> setup;
        Texts monitor;
        Texts warnings;
        size_t boxes;
    };
    const std::string guide = kGuide;
    const Case cases[] = {
        {"dates", {}, {"Estrazione da JOB da: 2024-06-01 a 2024-06-30", pocketLine}, {}, 0},
        {"NULL dates",
         {"UPDATE " + guide + " SET SCADENZA=NULL"},
         {"Estrazione da JOB da: n.d. a n.d.", pocketLine},
         {},
         0},
        {"no recalled table", {"DROP TABLE CAVEAU_RR_VER"}, {}, {missingTable}, 0},
        {"the due-date query fails",
         {"ALTER TABLE " + guide + " RENAME COLUMN SCADENZA TO Due"},
         {"(W) Le date di scadenza della guida di JOB non sono state lette", pocketLine},
         {},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        createTables();
        insertJuneGuide();
        for (const std::string& sql : c.setup) {
            db.exec(sql);
        }
        listener = AskingListener();
        box.shown.clear();
        job.returnsPocket = 30;
        EXPECT_TRUE(SelectionFlowWriter(gateway, listener, job).verify());
        EXPECT_FALSE(gateway.inTransaction());
        EXPECT_EQ(listener.monitor, c.monitor);
        EXPECT_EQ(listener.warnings, c.warnings);
        EXPECT_EQ(box.shown.size(), c.boxes);
    }
}

}  // namespace
