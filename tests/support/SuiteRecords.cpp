#include "support/SuiteRecords.h"

#include <cstdio>

std::string padded(const std::string& text, size_t width) {
    std::string result = text.substr(0, width);
    result.resize(width, ' ');
    return result;
}

namespace {

std::string digits(const char* format, unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Writes text into line at offset, growing the line with blanks when needed.
void place(std::string& line, size_t offset, const std::string& text) {
    if (line.size() < offset + text.size()) {
        line.resize(offset + text.size(), ' ');
    }
    line.replace(offset, text.size(), text);
}

std::string fieldsLine(const std::vector<std::string>& fields, size_t stride, size_t length) {
    std::string line(length, ' ');
    for (size_t i = 0; i < fields.size(); ++i) {
        place(line, i * stride, padded(fields[i], stride));
    }
    return line.substr(0, length);
}

}  // namespace

std::string defDataLine(const DefDataFields& f) {
    std::string line = padded(f.userName, 50) + padded(f.secondText, 50) + padded(f.code5, 5) +
                       padded(f.text40, 40) + padded(f.code2, 2) + padded(f.text46, 46) +
                       padded(f.stationCode, 4) + digits("%.2u", f.stationNumber) +
                       f.secondFlag + f.firstFlag + padded(f.path1, 256) +
                       padded(f.path2, 512) + std::string(55, ' ');
    return line + f.lineEnd;
}

std::string witnessRecord(const WitnessFields& f) {
    std::string record(300, ' ');
    place(record, 0, f.state);
    record[4] = f.secondFlag;
    place(record, 5, padded(f.code, 5));
    place(record, 11, padded(f.date, 6));
    place(record, 20, digits("%.2u", f.stationNumber));
    std::string name = f.jobName.substr(0, 50);
    if (f.zeroAfterName && name.size() < 50) {
        name += '\0';
    }
    place(record, 23, name);
    place(record, 73, padded(f.auxiliary, 3));
    place(record, 76, digits("%.6u", f.counter));
    return record;
}

std::string witnessFileName(const std::string& stationCode, int stationNumber) {
    return "WITNESS." + stationCode + "." + digits("%.3u", stationNumber);
}

WorkModeFields::WorkModeFields() {
    params[0] = "03069";
    params[5] = "CA";
    params[16] = "AAMMGG";
    names[7] = "VAULT";
    names[10] = "GUIDA";
    names[13] = "SORTER";
    longNames[0] = "Tracciato del flusso per la selezionatrice";
}

std::string workModeArchive(const WorkModeFields& f) {
    const size_t length = f.longForm ? 784 : 264;
    std::vector<std::string> lines(5, std::string(length, ' '));
    place(lines[0], 0, padded(f.flags, 8));
    place(lines[0], 9, f.numbers);
    place(lines[1], 0, padded(f.options, 32));
    place(lines[1], 32, padded(f.description, 180));
    lines[2] = fieldsLine(f.params, 11, length);
    lines[3] = fieldsLine(f.names, 16, length);
    lines[4] = fieldsLine(f.longNames, f.longForm ? 49 : 16, length);
    std::string archive;
    for (std::string& line : lines) {
        archive += line.substr(0, length) + "\r\n";
    }
    if (!f.note.empty()) {
        archive += f.note;
    }
    return archive;
}

std::string extractionLogLayout() {
    return "[TABLE]\r\n"
           "; the extraction log: one row per block\r\n"
           "Progr INT NOT NULL AUTO_INCREMENT,   ; block number\r\n"
           "DataCaricoIn DATE,\r\n"
           "DataCaricoFin DATE,\r\n"
           "PraticaIn INT,\r\n"
           "PraticaFin INT,\r\n"
           "Num_Pratiche INT,\r\n"
           "Num_Documenti INT,\r\n"
           "NumPraticaIn VARCHAR(20),\r\n"
           "NumPraticaFin VARCHAR(20),\r\n"
           "PRIMARY KEY (Progr)\r\n"
           "[INDEX]\r\n"
           "CREATE INDEX IX_DataCaricoIn ON %TABLE (DataCaricoIn)\r\n";
}

std::string pathsFile(const std::vector<std::string>& paths) {
    std::string file;
    for (const std::string& path : paths) {
        file += path + "\r\n";
    }
    return file;
}
