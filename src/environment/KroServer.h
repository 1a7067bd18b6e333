// KroServer records the "server" on which a folder of the suite lives: the
// drive or network share of the work folder (with the station number from the
// user data), or a name with an alternate path. A plain record owned by the
// path manager, which fills it in attachServer.
//
//   KroServer server;
//   server.set("C:", 5, std::nullopt);   // local: isLocal 1, hasAlternate 0
//   server.set("\\\\HOST\\SHARE", 0, "\\VAULT");  // alternate: number stays -1
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct KroServer {
    // 1 when no alternate path was given.
    int32_t isLocal = 0;
    // 1 with an alternate path, 0 without, -1 until set.
    int32_t hasAlternate = -1;
    // The server's root: a drive such as C:, a share such as \\host\share, or
    // "/" on POSIX.
    std::optional<std::string> name;
    std::optional<std::string> alternatePath;
    // The station number from the user data; -1 when not known.
    int32_t number = -1;

    // Clears the record, then stores the name and either the alternate path
    // or (without one) the number; returns the stored name.
    const std::optional<std::string>& set(std::optional<std::string_view> serverName,
                                          int32_t serverNumber,
                                          std::optional<std::string_view> alternate);
    // Forgets the name and the alternate path; number -1.
    void clear();
};
