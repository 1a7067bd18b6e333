#include "support/SuiteTree.h"

#include <filesystem>

namespace {

const char* const kFolderNames[] = {"PAR", "LAV", "QRY", "USR", "AUX", "PAT"};

}  // namespace

SuiteTree::SuiteTree() {
    for (const char* name : kFolderNames) {
        std::filesystem::create_directory(root_.file(name));
        paths.push_back(root_.file(name));
    }
    writePaths();
    writeDefData();
    writeWitness();
    writeWorkMode();
}

std::string SuiteTree::folder(Slot slot) const { return root_.file(kFolderNames[slot]); }

std::string SuiteTree::file(Slot slot, const std::string& name) const {
    return folder(slot) + "/" + name;
}

std::string SuiteTree::write(Slot slot, const std::string& name, const std::string& bytes) const {
    return root_.write(std::string(kFolderNames[slot]) + "/" + name, bytes);
}

std::string SuiteTree::writeInHome(const std::string& name, const std::string& bytes) const {
    return root_.write(name, bytes);
}

void SuiteTree::writePaths() const { root_.write("PERCORSI.PAT", pathsFile(paths)); }

void SuiteTree::writeDefData() const { write(kUserData, "DEFDATA.DAT", defDataLine(defData)); }

void SuiteTree::writeWitness() const {
    root_.write(std::string("LAV/") + witnessFileName(defData.stationCode, defData.stationNumber),
                witnessRecord(witness));
}

void SuiteTree::writeWorkMode() const {
    write(kParameters, witness.jobName + ".LAV", workModeArchive(workMode));
}

std::string SuiteTree::writeConnectionString(const std::string& text) const {
    return write(kParameters, workMode.names[7] + ".CNS", text);
}

std::string SuiteTree::writeExtractionLogLayout() const {
    return write(kPatterns, "Orvax.TBL", extractionLogLayout());
}

std::string SuiteTree::witnessPath() const {
    return file(kWork, witnessFileName(defData.stationCode, defData.stationNumber));
}

std::string SuiteTree::workModePath() const { return file(kParameters, witness.jobName + ".LAV"); }
