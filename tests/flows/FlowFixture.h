// The flows' tests: a gateway of the program's shape on a fresh database
// holding a job's document table DOC, a listener that records what the
// engines tell, and small helpers to put documents in and read pockets out.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "db/GatewayFixture.h"
#include "flows/DocumentRange.h"
#include "flows/FlowListener.h"
#include "support/DocumentTable.h"

struct RecordingListener : FlowListener {
    void statusText(const std::string& text) override {
        status.push_back(text);
        if (onStatus) {
            onStatus(text);
        }
    }
    void monitorLine(const std::string& line) override { monitor.push_back(line); }
    void progress(int position, int maximum) override {
        steps.emplace_back(position, maximum);
        if (onProgress) {
            onProgress(position);
        }
    }
    void error(const std::string& text) override { errors.push_back(text); }

    std::vector<std::string> status;
    std::vector<std::string> monitor;
    std::vector<std::pair<int, int>> steps;
    std::vector<std::string> errors;
    std::function<void(const std::string&)> onStatus;
    std::function<void(int)> onProgress;
};

class FlowTest : public GatewayTest {
protected:
    static constexpr const char* kDoc = "DOC";

    void SetUp() override {
        db.exec(documentTableStatement(kDoc));
        connect();
    }

    void insert(const std::vector<Document>& documents) {
        forEachInsert(kDoc, documents, 500, [this](const std::string& sql) { db.exec(sql); });
    }

    // A document of dossier prg loaded on date (item numbers given in turn).
    Document document(const std::string& date, int prg, int docPrg = 1, int condizione = 0,
                      const std::string& tc = "01") {
        Document d;
        d.numEffetto = ++lastItem_;
        d.dataCarico = date;
        d.serial = "S" + std::to_string(d.numEffetto);
        d.tc = tc;
        d.t[0] = d.t[1] = d.t[2] = d.t[3] = 9;  // an old assignment
        d.nota = 1;
        d.prg = prg;
        d.docPrg = docPrg;
        d.condizione = condizione;
        d.numPratica = "P" + std::to_string(prg);
        return d;
    }

    // "T1/T2/T3/T4" of each document by item number, NOTA after a blank.
    std::vector<std::string> pocketsByItem() {
        std::vector<std::string> pockets;
        for (const auto& row :
             db.rows("SELECT CONCAT_WS('/', T1, T2, T3, T4), NOTA FROM DOC ORDER BY Num_Effetto")) {
            pockets.push_back(row[0].value_or("NULL") + " " + row[1].value_or("NULL"));
        }
        return pockets;
    }

    // The connection id of the gateway, for a test that ends it from outside.
    std::string gatewayConnectionId() {
        EXPECT_TRUE(gateway.run("SELECT CONNECTION_ID() AS Id", 1, true, -1, true));
        return gateway.currentDataSet()->fieldByName("Id").asString();
    }

    DocumentRange range(const std::string& from, const std::string& to,
                        const std::string& tc = "01") {
        return DocumentRange(kDoc, tc, from, to);
    }

    RecordingListener listener;

private:
    int lastItem_ = 1000;
};
