// A complete suite installation in a temporary folder: the home directory
// with PERCORSI.PAT naming six real folders (PAR, LAV, QRY, USR, AUX, PAT),
// DEFDATA.DAT in USR, the station's witness in LAV and the job's work-mode
// archive in PAR, all written byte for byte from the fields below. The
// connection string and the extraction log's layout are written on request.
//
//   SuiteTree suite;                  // everything in place
//   suite.witness.jobName = "*****";  // then break what the test needs
//   suite.writeWitness();
#pragma once

#include <string>
#include <vector>

#include "support/SuiteRecords.h"
#include "support/TempDir.h"

class SuiteTree {
public:
    enum Slot { kParameters, kWork, kQueries, kUserData, kAuxiliary, kPatterns };

    SuiteTree();  // creates the folders and writes every file

    const std::string& home() const { return root_.path(); }
    // The folder of a slot, without a trailing separator.
    std::string folder(Slot slot) const;
    // A file in a slot's folder.
    std::string file(Slot slot, const std::string& name) const;
    // Writes bytes to a file in a slot's folder; returns its path.
    std::string write(Slot slot, const std::string& name, const std::string& bytes) const;
    // Writes bytes to a file in the home directory; returns its path.
    std::string writeInHome(const std::string& name, const std::string& bytes) const;

    void writePaths() const;  // from `paths`
    void writeDefData() const;
    void writeWitness() const;
    void writeWorkMode() const;
    // The connection-string file the work mode names (name entry 7, ".CNS")
    // in the parameters folder, holding text; returns its path.
    std::string writeConnectionString(const std::string& text) const;
    // Orvax.TBL in the pattern folder (extractionLogLayout()); returns its path.
    std::string writeExtractionLogLayout() const;
    std::string witnessPath() const;
    std::string workModePath() const;

    std::vector<std::string> paths;  // the six lines of PERCORSI.PAT
    DefDataFields defData;
    WitnessFields witness;
    WorkModeFields workMode;

private:
    TempDir root_;
};
