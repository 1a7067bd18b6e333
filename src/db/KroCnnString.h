// KroCnnString is a job's connection string: the file named by the work mode
// (extension "CNS") holding key=value entries in the style of an ADO
// connection string, read into a fixed table of twelve values. The database
// gateway copies the server, port, database, user, password and time-outs
// from it into its connection:
//
//   KroCnnString cns(box);
//   if (cns.load(path)) server = cns.value(KroCnnString::kDataSource);
//
// The file is read in lines of at most 102 characters (a longer line goes on
// as the next one), non-printable characters as blanks. Each line is cut at
// ";" into entries; an entry is a key, one separator character (normally
// "="), optional blanks and the value. A key is recognised ignoring case
// over its own length, or over the entry's when the entry is shorter; an
// entry that names no key is ignored; a later entry replaces an earlier one.
// A file that cannot be opened is reported through the message box
// ("Errore!", stop icon) with the record file's text.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/Env.h"

class ModalMessageBox;

class KroCnnString {
public:
    // The keys, in table order (the index of a value).
    enum Key {
        kProvider = 0,
        kPassword = 1,
        kPersistSecurityInfo = 2,
        kUserId = 3,
        kInitialCatalog = 4,
        kDataSource = 5,
        kDriver = 6,
        kOption = 7,
        kConnectionTimeout = 8,
        kCommandTimeout = 9,
        kDbType = 10,
        kPort = 11,
    };
    static constexpr int kKeyCount = 12;

    explicit KroCnnString(ModalMessageBox& box, Env* env = Env::Default());

    // Reads the file; false (after the message) when it cannot be opened.
    // The values of an earlier load are replaced as a whole. "Command
    // Timeout" and "Connection Timeout" default to "300" and "10".
    bool load(const std::string& path);
    // The same with a wide path, converted to the suite's code page.
    bool loadW(const std::u16string& path);

    // The text of a key (empty for an index outside 0 to 11).
    const std::u16string& value(int index) const;
    // The decimal value of "Port"; 0 when absent or not a number.
    int port() const { return port_; }
    bool isLoaded() const { return isLoaded_; }
    // Always false: the connection never asks for credentials.
    bool loginPrompt() const { return loginPrompt_; }

    // The key text of an index, nullptr outside 0 to 11.
    static const char* keyName(int index);

private:
    void readEntry(std::string_view entry);

    ModalMessageBox& box_;
    Env* env_;
    bool isLoaded_ = false;
    int port_ = 0;
    std::array<std::u16string, kKeyCount> values_;
    bool loginPrompt_ = false;
};
