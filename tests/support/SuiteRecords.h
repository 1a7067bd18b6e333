// Byte-exact images of the suite's shared files, written the way the suite's
// other programs write them, so that tests never use the code under test to
// make its own input. Each struct holds the values a test may want to vary;
// the defaults describe the station of a typical installation.
#pragma once

#include <string>
#include <vector>

// DEFDATA.DAT: one line of 1024 characters and a line end.
struct DefDataFields {
    std::string userName = "Banca di Prova";
    std::string secondText = "Filiale Centro";
    std::string code5 = "03069";
    std::string text40 = "Via Roma 1";
    std::string code2 = "MI";
    std::string text46 = "Milano";
    std::string stationCode = "ABC";  // in a 4-character field
    int stationNumber = 5;            // two digits
    char secondFlag = '1';
    char firstFlag = '0';
    std::string path1 = "C:\\VAULT";
    std::string path2 = "C:\\VAULT\\BACKUP";
    std::string lineEnd = "\r\n";
};
std::string defDataLine(const DefDataFields& fields);

// WITNESS.<code>.<nnn>: one record of 300 bytes, no line end.
struct WitnessFields {
    std::string state = "RUN ";
    char secondFlag = 'S';
    std::string code = "00000";
    std::string date = "310524";  // GGMMAA
    int stationNumber = 5;
    std::string jobName = "EFFETTI01_CA";
    bool zeroAfterName = true;  // the suite ends the name with a byte 0
    std::string auxiliary = "  ";
    unsigned counter = 42;
};
std::string witnessRecord(const WitnessFields& fields);
// "WITNESS.ABC.005"
std::string witnessFileName(const std::string& stationCode, int stationNumber);

// <job>.LAV: five lines of 264 (short form) or 784 (long form) characters,
// each followed by CR LF; 1330 or 3930 bytes.
struct WorkModeFields {
    std::string flags = "10100000";
    std::string numbers = "123 45 678 9";  // positions 9 to 20 of line 0
    std::string options = "00000001000000000000000000000000";
    std::string description = "Scarico effetti richiamati";
    std::vector<std::string> params = std::vector<std::string>(24);
    std::vector<std::string> names = std::vector<std::string>(16);
    std::vector<std::string> longNames = std::vector<std::string>(16);
    std::string note;  // bytes appended after the five lines (changes the size)
    bool longForm = false;

    WorkModeFields();  // the values a job needs: bank code, class, date pattern, layouts
};
std::string workModeArchive(const WorkModeFields& fields);

// Orvax.TBL: the table-layout file of the extraction log, as the suite
// ships it (a table section with a comment, then an index section), lines
// ended by CR LF.
std::string extractionLogLayout();

// PERCORSI.PAT: one path per line, each ended by CR LF.
std::string pathsFile(const std::vector<std::string>& paths);

// text padded with blanks (or cut) to exactly width characters.
std::string padded(const std::string& text, size_t width);
