// The operator's whole job against the test server: a suite tree with the
// connection string, the extraction log's layout and the sorter's layout,
// the operators' schema with the test login, and the job's document table
// EFFETTI01_CA_240531_GUI_DOC (type code CA, as the work mode says). Its
// fixtures rebuild the operators' schema QuorvelNet, so their names start
// with VaultConnection (such tests run one at a time).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "ControllerFixture.h"
#include "app/KroStepKeeper.h"
#include "environment/KroPathManager.h"
#include "platform/Env.h"
#include "support/DocumentTable.h"
#include "support/SorterTrack.h"
#include "support/TestDatabase.h"

class JobTest : public ControllerTest {
protected:
    static constexpr const char* kDocTable = "EFFETTI01_CA_240531_GUI_DOC";

    JobTest() {
        users.exec("CREATE TABLE auth_users (UserID VARCHAR(64), Nome VARCHAR(40))");
        users.exec("INSERT INTO auth_users VALUES ('operatore', 'Anna')");
        suite.writeConnectionString(db.connectionString());
        suite.writeExtractionLogLayout();
        writeSorterTrack(suite.folder(SuiteTree::kPatterns));
        db.exec(documentTableStatement(kDocTable));
    }

    // The controller goes before the databases are dropped: a transaction it
    // left open would hold the drop forever.
    ~JobTest() override { controller.reset(); }

    // A document of dossier prg (Num_Pratica "P<prg>"), item numbers in turn.
    Document document(const std::string& date, int prg, int docPrg = 1) {
        Document d;
        d.numEffetto = ++lastItem_;
        d.dataCarico = date;
        d.serial = "S" + std::to_string(d.numEffetto);
        d.tc = "CA";
        d.prg = prg;
        d.docPrg = docPrg;
        d.numPratica = "P" + std::to_string(prg);
        return d;
    }

    void insert(const std::vector<Document>& documents) {
        forEachInsert(kDocTable, documents, 500, [this](const std::string& sql) { db.exec(sql); });
    }

    // Construction, start-up, activation and the connect step.
    TfrmOutput& connect() {
        start().act01_ConnectExecute();
        return *controller;
    }

    // Types a date into a box and leaves it, as the operator does.
    void type(const char* box, const std::u16string& date) {
        view.setText(box, date);
        controller->tbDataExit(box);
    }

    // Connect, the range typed, flow 1, pockets, verification, writing.
    TfrmOutput& runJob(const std::u16string& from, const std::u16string& to) {
        connect();
        return runSteps(from, to);
    }

    // The same once connected.
    TfrmOutput& runSteps(const std::u16string& from, const std::u16string& to) {
        TfrmOutput& c = readyToWrite(from, to);
        c.act06UnloadExecute();
        return c;
    }

    // Once connected: the range typed, the flow's button, the pockets and
    // the verification; the writing is left to the test.
    TfrmOutput& readyToWrite(const std::u16string& from, const std::u16string& to,
                             const char* flowButton = "RadioButton2") {
        TfrmOutput& c = *controller;
        type("tbDataIn", from);
        type("tbDataOut", to);
        c.RadioButtonClick(flowButton);
        c.act03AssTasExecute();
        c.act05VerifyExecute();
        return c;
    }

    std::string flowPath(int block) const {
        char name[32];
        std::snprintf(name, sizeof name, "OrvaxBlocco_%.3d.NST", block);
        return controller->pathManager()->jobPath() + name;
    }

    std::string fileBytes(const std::string& path) {
        std::string bytes;
        if (std::FILE* f = Env::Default()->openStream(path, "rb")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
                bytes.append(buffer, n);
            }
            std::fclose(f);
        }
        return bytes;
    }

    bool statusShown(const std::string& text) const {
        for (const auto& shown : view.statusTexts) {
            if (narrow(shown) == text) {
                return true;
            }
        }
        return false;
    }

    bool monitorHas(const std::string& line) const {
        for (const auto& shown : view.monitorLines) {
            if (narrow(shown) == line) {
                return true;
            }
        }
        return false;
    }

    TestDatabase users{"QuorvelNet"};
    TestDatabase db;

private:
    int lastItem_ = 1000;
};
